// The calculator window: its control identifiers and the one call that builds
// and runs it.
#pragma once

#include <windows.h>

// Inputs frame, labels and input boxes.
#define IDC_LBL_PITCH_DIAMETER      1001
#define IDC_LBL_TPI                 1002
#define IDC_LBL_PRESSURE_ANGLE      1003
#define IDC_LBL_STARTS              1004
#define IDC_PITCH_DIAMETER          1005
#define IDC_STARTS                  1006
#define IDC_PRESSURE_ANGLE          1007
#define IDC_TPI                     1008
// Result labels.
#define IDC_LBL_PITCH               1009
#define IDC_LBL_LEAD                1010
#define IDC_LBL_LEAD_ANGLE          1011
#define IDC_LBL_BEST_WIRE           1012
#define IDC_LBL_DISTANCE            1013
#define IDC_LBL_BACKLASH            1014
#define IDC_LBL_NEW_DISTANCE        1015
#define IDC_BACKLASH                1016
// Result fields.
#define IDC_OUT_PITCH               1017
#define IDC_OUT_LEAD                1018
#define IDC_OUT_LEAD_ANGLE          1019
#define IDC_OUT_BEST_WIRE           1020
#define IDC_OUT_DISTANCE            1021
#define IDC_OUT_NEW_DISTANCE        1022
#define IDC_CALC                    1023
#define IDC_LBL_KEY_ANGLE           1024
#define IDC_OUT_KEY_ANGLE           1025
#define IDC_LBL_ACTUAL              1026
#define IDC_ACTUAL_WIRE             1027
#define IDC_OUT_ACTUAL_DISTANCE     1028
#define IDC_OUT_ACTUAL_NEW_DISTANCE 1029
// 1030 and 1031 are not assigned.
#define IDC_HELP_BUTTON             1032
#define IDC_INPUT_FRAME             1033

// Builds the calculator window (hidden, icon, 31 controls), runs it modally with
// CalculatorEventHandler attached, and returns the run's result: 0 once the user
// has closed the window, or 0 at once when the window cannot be created.
// `owner` may be null (the program passes null).
int ShowCalculatorDialog(HWND owner);
