// The calculator window's event handler and its calculate command: reads the six
// input boxes, solves for the key angle, reports a failed or doubtful solution
// and writes the nine result fields.

#include "calculator_events.h"

#include <array>
#include <string>

#include "../engine/parse_number.h"
#include "../engine/result_texts.h"
#include "../engine/thread_solver.h"
#include "calculator_dialog.h"
#include "help_box.h"
#include "platform_call.h"

namespace {

// The control that had the focus when the window was last deactivated, put back
// when it is activated again. The one piece of state that outlives a message;
// file-private, and touched only on the window's own thread.
HWND savedFocus = nullptr;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

// One input box and the field of ThreadInputs its text feeds.
struct InputBox {
    int id;
    long double ThreadInputs::*field;
};

// The six inputs in the order they are read.
constexpr std::array<InputBox, 6> kInputBoxes{{
    {IDC_PITCH_DIAMETER, &ThreadInputs::pitchDiameter},
    {IDC_TPI, &ThreadInputs::threadsPerInch},
    {IDC_STARTS, &ThreadInputs::starts},
    {IDC_PRESSURE_ANGLE, &ThreadInputs::axialPressureAngleDeg},
    {IDC_BACKLASH, &ThreadInputs::backlash},
    {IDC_ACTUAL_WIRE, &ThreadInputs::actualWireDiameter},
}};

// The field that shows each result, indexed by ResultField (the write order).
constexpr std::array<int, kResultFieldCount> kResultFieldControls{
    IDC_OUT_ACTUAL_DISTANCE,        // ResultField::ActualDistance
    IDC_OUT_ACTUAL_NEW_DISTANCE,    // ResultField::ActualNewDistance
    IDC_OUT_PITCH,                  // ResultField::Pitch
    IDC_OUT_LEAD,                   // ResultField::Lead
    IDC_OUT_LEAD_ANGLE,             // ResultField::LeadAngle
    IDC_OUT_BEST_WIRE,              // ResultField::BestWireDiameter
    IDC_OUT_DISTANCE,               // ResultField::DistanceOverWires
    IDC_OUT_NEW_DISTANCE,           // ResultField::NewDistance
    IDC_OUT_KEY_ANGLE,              // ResultField::KeyAngle
};
static_assert(static_cast<int>(ResultField::ActualDistance) == 0 &&
                  static_cast<int>(ResultField::KeyAngle) == kResultFieldCount - 1,
              "kResultFieldControls is indexed by ResultField");

// Shared system cursors, loaded at their default size without owning a copy.
constexpr UINT kSharedCursorLoad = LR_SHARED | LR_LOADMAP3DCOLORS | LR_DEFAULTSIZE;  // 0x9040
const LPCSTR kBusyCursor = MAKEINTRESOURCEA(32514);    // IDC_WAIT
const LPCSTR kNormalCursor = MAKEINTRESOURCEA(32512);  // IDC_ARROW

// Both calculation messages: the error icon and an OK button. Task-modal, so
// that the window takes no input until the box is closed: otherwise a second
// calculation could run inside the box and have its figures overwritten by the
// first one's when the box closes, leaving results for inputs no longer shown.
constexpr UINT kCalculationMessageStyle = MB_ICONERROR | MB_TASKMODAL;

// Notification codes with which a push button reports a press: BN_CLICKED from
// a click or a key, 1 as an accelerator would send it.
constexpr WORD kPressNotifications[] = {BN_CLICKED, 1};

void ShowSystemCursor(LPCSTR cursor)
{
    const auto image = PlatformCall(LoadImageA, nullptr, cursor, IMAGE_CURSOR, 0, 0, kSharedCursorLoad);
    PlatformCall(SetCursor, static_cast<HCURSOR>(image));
}

void ShowCalculationMessage(const char* text, const char* caption)
{
    PlatformCall(MessageBoxA, nullptr, text, caption, kCalculationMessageStyle);
}

// The whole text of a control, however long (an empty text if the control is missing).
std::string ControlText(HWND dialog, int id)
{
    const HWND control = PlatformCall(GetDlgItem, dialog, id);
    const int length = PlatformCall(GetWindowTextLengthA, control);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = PlatformCall(GetWindowTextA, control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void SetControlText(HWND dialog, int id, const std::string& text)
{
    const HWND control = PlatformCall(GetDlgItem, dialog, id);
    PlatformCall(SetWindowTextA, control, text.c_str());
}

ThreadInputs ReadInputs(HWND dialog)
{
    ThreadInputs inputs;
    for (const InputBox& box : kInputBoxes) {
        inputs.*box.field = ParseNumber(ControlText(dialog, box.id));
    }
    return inputs;
}

bool IsPress(WORD notification)
{
    for (WORD press : kPressNotifications) {
        if (notification == press) {
            return true;
        }
    }
    return false;
}

void OnNcActivate(bool active)
{
    if (!active) {
        savedFocus = PlatformCall(GetFocus);
    } else if (savedFocus != nullptr) {
        PlatformCall(SetFocus, savedFocus);
        savedFocus = nullptr;
    }
}

void OnCommand(HWND dialog, int id, WORD notification)
{
    if (!IsPress(notification)) {
        return;
    }
    if (id == IDC_CALC) {
        RunCalculation(dialog);
    } else if (id == IDC_HELP_BUTTON) {
        ShowHelpBox();
    }
}

}  // namespace

LONG CalculatorEventHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_NCACTIVATE:
        OnNcActivate(wParam != 0);
        break;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        break;
    default:
        break;
    }
    return 0;
}

void RunCalculation(HWND dialog)
{
    const ThreadInputs inputs = ReadInputs(dialog);

    ShowSystemCursor(kBusyCursor);
    ThreadResults results;
    const SolveStatus status = SolveThread(inputs, results);
    ShowSystemCursor(kNormalCursor);

    if (status == SolveStatus::NoConvergence) {
        ShowCalculationMessage("Inputs out of range!", "Convergence Failure");
        return;
    }
    if (results.residualHigh) {
        ShowCalculationMessage("High residual error, check results!", "Error");
    }

    const auto texts = FormatResultFields(results);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SetControlText(dialog, kResultFieldControls[i], texts[i]);
    }
}
