// The "Help/About" box.

#include "help_box.h"

void ShowHelpBox()
{
}
