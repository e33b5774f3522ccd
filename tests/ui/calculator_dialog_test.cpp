// The calculator window in-process under Wine, as ShowCalculatorDialog builds
// it: frame, place, icons, the 31 controls in creation order with their classes,
// styles, texts and rectangles, the first focus and the tab order; closing it
// ends the run with 0.

#include "calculator_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_engine.h"
#include "dialog_script.h"

namespace {

// The four kinds as the platform reports them: class, style, extended style.
struct KindLook {
    const char* windowClass;
    DWORD style;
    DWORD extendedStyle;
};
constexpr KindLook kLabel{"STATIC", 0x50000000, 0};
constexpr KindLook kTextBox{"EDIT", 0x50010080, 0x00000200};
constexpr KindLook kPushButton{"BUTTON", 0x50010000, 0};
constexpr KindLook kGroupBox{"BUTTON", 0x50000007, 0};
constexpr KindLook kResultField = kLabel;

struct ExpectedControl {
    const char* name;
    int id;
    KindLook kind;
    const char* text;
    int x, y, width, height;
};

// The window's controls in creation order, hence in child-window order.
const ExpectedControl kExpectedControls[] = {
    {"IDC_LBL_PITCH_DIAMETER", 1001, kLabel, "Pitch diameter, in", 20, 15, 55, 10},
    {"IDC_LBL_TPI", 1002, kLabel, "TPI", 135, 15, 55, 10},
    {"IDC_LBL_PRESSURE_ANGLE", 1003, kLabel, "Axial pressure angle", 135, 35, 70, 10},
    {"IDC_LBL_STARTS", 1004, kLabel, "# of starts", 20, 35, 55, 10},
    {"IDC_PITCH_DIAMETER", 1005, kTextBox, "1.025", 80, 15, 35, 10},
    {"IDC_STARTS", 1006, kTextBox, "4", 80, 35, 35, 10},
    {"IDC_PRESSURE_ANGLE", 1007, kTextBox, "14.5", 205, 35, 25, 10},
    {"IDC_TPI", 1008, kTextBox, "5", 205, 15, 25, 10},
    {"IDC_LBL_PITCH", 1009, kLabel, "Pitch", 20, 70, 65, 10},
    {"IDC_LBL_LEAD", 1010, kLabel, "Lead", 20, 90, 65, 10},
    {"IDC_LBL_LEAD_ANGLE", 1011, kLabel, "Lead angle", 20, 115, 65, 10},
    {"IDC_LBL_BEST_WIRE", 1012, kLabel, "Best wire diameter", 20, 165, 65, 10},
    {"IDC_LBL_DISTANCE", 1013, kLabel, "Distance over wires", 20, 190, 65, 10},
    {"IDC_LBL_BACKLASH", 1014, kLabel, "Backlash", 20, 210, 65, 10},
    {"IDC_LBL_NEW_DISTANCE", 1015, kLabel, "New distance", 20, 230, 65, 10},
    {"IDC_BACKLASH", 1016, kTextBox, "0.0004", 90, 210, 35, 10},
    {"IDC_OUT_PITCH", 1017, kResultField, "", 90, 70, 55, 10},
    {"IDC_OUT_LEAD", 1018, kResultField, "", 90, 90, 55, 10},
    {"IDC_OUT_LEAD_ANGLE", 1019, kResultField, "", 90, 115, 55, 10},
    {"IDC_OUT_BEST_WIRE", 1020, kResultField, "", 90, 165, 55, 10},
    {"IDC_OUT_DISTANCE", 1021, kResultField, "", 90, 190, 55, 10},
    {"IDC_OUT_NEW_DISTANCE", 1022, kResultField, "", 90, 230, 55, 10},
    {"IDC_CALC", 1023, kPushButton, "CALC", 165, 70, 65, 20},
    {"IDC_LBL_KEY_ANGLE", 1024, kLabel, "Key angle", 20, 140, 65, 10},
    {"IDC_OUT_KEY_ANGLE", 1025, kResultField, "", 90, 140, 55, 10},
    {"IDC_LBL_ACTUAL", 1026, kLabel, "Actual", 150, 165, 35, 10},
    {"IDC_ACTUAL_WIRE", 1027, kTextBox, "", 190, 165, 40, 10},
    {"IDC_OUT_ACTUAL_DISTANCE", 1028, kResultField, "", 190, 190, 40, 10},
    {"IDC_OUT_ACTUAL_NEW_DISTANCE", 1029, kResultField, "", 190, 230, 40, 10},
    {"IDC_HELP_BUTTON", 1032, kPushButton, "HELP", 165, 105, 65, 15},
    {"IDC_INPUT_FRAME", 1033, kGroupBox, "", 10, 5, 230, 50},
};

// Tab stops in the order Tab visits them, starting where the focus starts.
const int kTabOrder[] = {1005, 1006, 1007, 1008, 1016, 1023, 1027, 1032};

// What the window looked like while it ran.
struct Observed {
    HWND dialog = nullptr;
    bool visible = false;
    DWORD style = 0;
    DWORD extendedStyle = 0;
    std::string title;
    POINT clientOrigin{};
    RECT client{};
    RECT wantPlace{};
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    int focusId = 0;
    std::vector<int> tabOrder;
};

void ObserveWindow(Observed& seen)
{
    HWND dialog = FindThreadDialog("Vintrel");
    seen.dialog = dialog;
    if (dialog == nullptr)
        return;
    seen.visible = IsWindowVisible(dialog) != FALSE;
    seen.style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
    seen.extendedStyle = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
    char title[64] = {};
    GetWindowTextA(dialog, title, sizeof title);
    seen.title = title;
    ClientToScreen(dialog, &seen.clientOrigin);
    GetClientRect(dialog, &seen.client);
    seen.wantPlace = DialogUnitsToPixels(dialog, 70, 70, 252, 256);
    seen.bigIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
    seen.smallIcon = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    seen.focusId = GetDlgCtrlID(GetFocus());

    // The dialog manager's own walk, as Tab takes it; one round and one step over.
    HWND stop = GetFocus();
    for (std::size_t i = 0; i <= std::size(kTabOrder) && stop != nullptr; ++i) {
        stop = GetNextDlgTabItem(dialog, stop, FALSE);
        seen.tabOrder.push_back(GetDlgCtrlID(stop));
    }
}

void CheckControls(HWND dialog)
{
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ExpectedControl& want : kExpectedControls) {
        SCOPED_TRACE(want.name);
        ASSERT_NE(child, nullptr) << "fewer controls than expected";
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        char windowClass[32] = {};
        GetClassNameA(child, windowClass, sizeof windowClass);
        EXPECT_STRCASEEQ(windowClass, want.kind.windowClass);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), want.kind.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE)), want.kind.extendedStyle);
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        EXPECT_STREQ(text, want.text);
        const RECT wantRect = DialogUnitsToPixels(dialog, want.x, want.y, want.width, want.height);
        const RECT got = RectInDialog(dialog, child);
        EXPECT_EQ(got.left, wantRect.left);
        EXPECT_EQ(got.top, wantRect.top);
        EXPECT_EQ(got.right, wantRect.right);
        EXPECT_EQ(got.bottom, wantRect.bottom);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than expected";
}

TEST(CalculatorDialogTest, WindowHasItsFrameIconsAndThirtyOneControlsAndClosesWithZero)
{
    g_programInstance = GetModuleHandleA(nullptr);
    Observed seen;
    int result = -1;
    {
        DialogScript script({
            [&] {
                ObserveWindow(seen);
                if (seen.dialog != nullptr)
                    CheckControls(seen.dialog);
            },
            [&] {
                if (seen.dialog != nullptr)
                    SendMessageA(seen.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            },
        });
        result = ShowCalculatorDialog(nullptr);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(result, 0);
    ASSERT_NE(seen.dialog, nullptr) << "no window titled \"Vintrel\"";
    EXPECT_FALSE(IsWindow(seen.dialog));

    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(seen.style, 0x94CA00D4u);
    // The platform adds edge bits of its own for the modal frame.
    EXPECT_EQ(seen.extendedStyle & 0x00010200u, 0x00010200u);
    EXPECT_EQ(seen.title, "Vintrel");
    EXPECT_EQ(seen.clientOrigin.x, seen.wantPlace.left);
    EXPECT_EQ(seen.clientOrigin.y, seen.wantPlace.top);
    EXPECT_EQ(seen.client.right, seen.wantPlace.right - seen.wantPlace.left);
    EXPECT_EQ(seen.client.bottom, seen.wantPlace.bottom - seen.wantPlace.top);
    EXPECT_NE(seen.bigIcon, nullptr);
    EXPECT_NE(seen.smallIcon, nullptr);

    EXPECT_EQ(seen.focusId, 1005) << "first focus belongs to the pitch diameter box";
    std::vector<int> wantTabs(std::begin(kTabOrder) + 1, std::end(kTabOrder));
    wantTabs.push_back(kTabOrder[0]);  // wraps
    wantTabs.push_back(kTabOrder[1]);
    EXPECT_EQ(seen.tabOrder, wantTabs);
}

}  // namespace
