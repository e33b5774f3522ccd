// The calculator window: its frame, and the table of its 31 controls that one
// loop creates, then the modal run with the calculator's event handler.

#include "calculator_dialog.h"

#include "calculator_events.h"
#include "dialog_engine.h"

namespace {

// The window's title, also how the user finds it in the task list.
constexpr char kTitle[] = "Vintrel";

// Position and size in dialog units. With no owner the position is measured from
// the screen's top-left corner; the window is not centred.
constexpr int kDialogX = 70;
constexpr int kDialogY = 70;
constexpr int kDialogWidth = 252;
constexpr int kDialogHeight = 256;

// A fixed-size window with a caption, a window menu and a minimize box, but no
// maximize box and no sizing frame.
constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                               WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE |
                               DS_3DLOOK;
static_assert(kDialogStyle == 0x94CA00D4);
// Tab moves through the controls; the client area has a sunken edge.
constexpr DWORD kDialogExtendedStyle = WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE;
static_assert(kDialogExtendedStyle == 0x00010200);

// The program's icon group, from the executable's resources.
constexpr char kIconName[] = "ICON1";

// One control of the window: identifier, kind, text at start, rectangle in dialog units.
struct ControlRow {
    int id;
    ControlKind kind;
    const char* text;
    int x;
    int y;
    int width;
    int height;
};

constexpr ControlKind kLabel = ControlKind::Label;
constexpr ControlKind kTextBox = ControlKind::TextBox;
constexpr ControlKind kPushButton = ControlKind::PushButton;
constexpr ControlKind kGroupBox = ControlKind::GroupBox;
// A result field is a label that starts empty; only a calculation writes it.
constexpr ControlKind kResultField = ControlKind::Label;

// In creation order, which is also the order of the child windows and so the tab
// order: pitch diameter, starts, pressure angle, TPI, backlash, CALC, actual wire,
// HELP. The frame around the inputs comes last so that it lies beneath them.
constexpr ControlRow kControls[] = {
    {IDC_LBL_PITCH_DIAMETER, kLabel, "Pitch diameter, in", 20, 15, 55, 10},
    {IDC_LBL_TPI, kLabel, "TPI", 135, 15, 55, 10},
    {IDC_LBL_PRESSURE_ANGLE, kLabel, "Axial pressure angle", 135, 35, 70, 10},
    {IDC_LBL_STARTS, kLabel, "# of starts", 20, 35, 55, 10},
    {IDC_PITCH_DIAMETER, kTextBox, "1.025", 80, 15, 35, 10},
    {IDC_STARTS, kTextBox, "4", 80, 35, 35, 10},
    {IDC_PRESSURE_ANGLE, kTextBox, "14.5", 205, 35, 25, 10},
    {IDC_TPI, kTextBox, "5", 205, 15, 25, 10},
    {IDC_LBL_PITCH, kLabel, "Pitch", 20, 70, 65, 10},
    {IDC_LBL_LEAD, kLabel, "Lead", 20, 90, 65, 10},
    {IDC_LBL_LEAD_ANGLE, kLabel, "Lead angle", 20, 115, 65, 10},
    {IDC_LBL_BEST_WIRE, kLabel, "Best wire diameter", 20, 165, 65, 10},
    {IDC_LBL_DISTANCE, kLabel, "Distance over wires", 20, 190, 65, 10},
    {IDC_LBL_BACKLASH, kLabel, "Backlash", 20, 210, 65, 10},
    {IDC_LBL_NEW_DISTANCE, kLabel, "New distance", 20, 230, 65, 10},
    {IDC_BACKLASH, kTextBox, "0.0004", 90, 210, 35, 10},
    {IDC_OUT_PITCH, kResultField, "", 90, 70, 55, 10},
    {IDC_OUT_LEAD, kResultField, "", 90, 90, 55, 10},
    {IDC_OUT_LEAD_ANGLE, kResultField, "", 90, 115, 55, 10},
    {IDC_OUT_BEST_WIRE, kResultField, "", 90, 165, 55, 10},
    {IDC_OUT_DISTANCE, kResultField, "", 90, 190, 55, 10},
    {IDC_OUT_NEW_DISTANCE, kResultField, "", 90, 230, 55, 10},
    {IDC_CALC, kPushButton, "CALC", 165, 70, 65, 20},
    {IDC_LBL_KEY_ANGLE, kLabel, "Key angle", 20, 140, 65, 10},
    {IDC_OUT_KEY_ANGLE, kResultField, "", 90, 140, 55, 10},
    {IDC_LBL_ACTUAL, kLabel, "Actual", 150, 165, 35, 10},
    {IDC_ACTUAL_WIRE, kTextBox, "", 190, 165, 40, 10},
    {IDC_OUT_ACTUAL_DISTANCE, kResultField, "", 190, 190, 40, 10},
    {IDC_OUT_ACTUAL_NEW_DISTANCE, kResultField, "", 190, 230, 40, 10},
    {IDC_HELP_BUTTON, kPushButton, "HELP", 165, 105, 65, 15},
    {IDC_INPUT_FRAME, kGroupBox, "", 10, 5, 230, 50},
};

}  // namespace

int ShowCalculatorDialog(HWND owner)
{
    HWND dialog = CreateModalDialog(owner, kTitle, kDialogX, kDialogY, kDialogWidth, kDialogHeight,
                                    kDialogStyle, kDialogExtendedStyle);
    if (dialog == nullptr)
        return 0;
    SetDialogIcon(dialog, kIconName);
    for (const ControlRow& row : kControls)
        AddControl(dialog, row.kind, row.id, row.text, row.x, row.y, row.width, row.height);
    return RunModalDialog(dialog, CalculatorEventHandler);
}
