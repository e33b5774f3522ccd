// The calculator window's event handler and its calculate command.

#include "calculator_events.h"

LONG CalculatorEventHandler(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

void RunCalculation(HWND)
{
}
