// The "Help/About" box: what the program computes and how to read it.
#pragma once

// Shows the help text in a task-modal message box with no owner and returns
// when the user has closed it.
void ShowHelpBox();
