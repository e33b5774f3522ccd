// The calculator window's event handler and the calculate command it runs.
#pragma once

#include <windows.h>

// Handles the calculator dialog's messages: keeps the focused control across
// deactivation (WM_NCACTIVATE), runs the calculation on "CALC" and shows the
// help box on "HELP". Returns 0 for every message, so that the dialog's
// default processing follows each one.
LONG CalculatorEventHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the six input boxes, solves, reports a failure or a doubtful result in a
// message box, and writes the nine result fields.
void RunCalculation(HWND dialog);
