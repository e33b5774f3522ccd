// The real Vintrel.exe as a user meets it before any calculation: the window's
// frame, place and size, its 31 controls, the keyboard's tab order, clicks on
// labels, the icons, and closing it.

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "calculator_driver.h"
#include "test_environment.h"
#include "window_driver.h"

namespace {

using calculator::Session;

// The window once shown, as the user gets it; the template carries the same
// style without WS_VISIBLE.
constexpr LONG kWindowStyle = static_cast<LONG>(0x94CA00D4);
constexpr LONG kWindowExStyle = 0x00010200;  // WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE
// What the system adds by itself to a dialog with a modal frame: the dialog
// manager adds WS_EX_DLGMODALFRAME for DS_MODALFRAME, and a window with a
// dialog frame gets WS_EX_WINDOWEDGE.
constexpr LONG kSystemFrameExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

// Where the window's client area sits and how big it is, in dialog units.
constexpr int kDialogX = 70;
constexpr int kDialogY = 70;
constexpr int kDialogWidth = 252;
constexpr int kDialogHeight = 256;

// Styles of the four control kinds.
constexpr LONG kLabelStyle = 0x50000000;
constexpr LONG kTextBoxStyle = 0x50010080;
constexpr LONG kPushButtonStyle = 0x50010000;
constexpr LONG kGroupBoxStyle = 0x50000007;
constexpr LONG kTextBoxExStyle = WS_EX_CLIENTEDGE;

struct ControlRow {
    int id;
    const char* className;
    LONG style;
    const char* text;
    int x, y, width, height;  // dialog units
};

#define LABEL "Static", kLabelStyle
#define TEXT_BOX "Edit", kTextBoxStyle
#define BUTTON "Button", kPushButtonStyle

// The 31 controls in creation order, as the user finds them at start.
constexpr std::array<ControlRow, 31> kControls{{
    {IDC_LBL_PITCH_DIAMETER, LABEL, "Pitch diameter, in", 20, 15, 55, 10},
    {IDC_LBL_TPI, LABEL, "TPI", 135, 15, 55, 10},
    {IDC_LBL_PRESSURE_ANGLE, LABEL, "Axial pressure angle", 135, 35, 70, 10},
    {IDC_LBL_STARTS, LABEL, "# of starts", 20, 35, 55, 10},
    {IDC_PITCH_DIAMETER, TEXT_BOX, "1.025", 80, 15, 35, 10},
    {IDC_STARTS, TEXT_BOX, "4", 80, 35, 35, 10},
    {IDC_PRESSURE_ANGLE, TEXT_BOX, "14.5", 205, 35, 25, 10},
    {IDC_TPI, TEXT_BOX, "5", 205, 15, 25, 10},
    {IDC_LBL_PITCH, LABEL, "Pitch", 20, 70, 65, 10},
    {IDC_LBL_LEAD, LABEL, "Lead", 20, 90, 65, 10},
    {IDC_LBL_LEAD_ANGLE, LABEL, "Lead angle", 20, 115, 65, 10},
    {IDC_LBL_BEST_WIRE, LABEL, "Best wire diameter", 20, 165, 65, 10},
    {IDC_LBL_DISTANCE, LABEL, "Distance over wires", 20, 190, 65, 10},
    {IDC_LBL_BACKLASH, LABEL, "Backlash", 20, 210, 65, 10},
    {IDC_LBL_NEW_DISTANCE, LABEL, "New distance", 20, 230, 65, 10},
    {IDC_BACKLASH, TEXT_BOX, "0.0004", 90, 210, 35, 10},
    {IDC_OUT_PITCH, LABEL, "", 90, 70, 55, 10},
    {IDC_OUT_LEAD, LABEL, "", 90, 90, 55, 10},
    {IDC_OUT_LEAD_ANGLE, LABEL, "", 90, 115, 55, 10},
    {IDC_OUT_BEST_WIRE, LABEL, "", 90, 165, 55, 10},
    {IDC_OUT_DISTANCE, LABEL, "", 90, 190, 55, 10},
    {IDC_OUT_NEW_DISTANCE, LABEL, "", 90, 230, 55, 10},
    {IDC_CALC, BUTTON, "CALC", 165, 70, 65, 20},
    {IDC_LBL_KEY_ANGLE, LABEL, "Key angle", 20, 140, 65, 10},
    {IDC_OUT_KEY_ANGLE, LABEL, "", 90, 140, 55, 10},
    {IDC_LBL_ACTUAL, LABEL, "Actual", 150, 165, 35, 10},
    {IDC_ACTUAL_WIRE, TEXT_BOX, "", 190, 165, 40, 10},
    {IDC_OUT_ACTUAL_DISTANCE, LABEL, "", 190, 190, 40, 10},
    {IDC_OUT_ACTUAL_NEW_DISTANCE, LABEL, "", 190, 230, 40, 10},
    {IDC_HELP_BUTTON, BUTTON, "HELP", 165, 105, 65, 15},
    {IDC_INPUT_FRAME, "Button", kGroupBoxStyle, "", 10, 5, 230, 50},
}};

#undef LABEL
#undef TEXT_BOX
#undef BUTTON

// The eight tab stops in the order Tab visits them.
constexpr std::array<int, 8> kTabOrder{
    IDC_PITCH_DIAMETER, IDC_STARTS, IDC_PRESSURE_ANGLE, IDC_TPI,
    IDC_BACKLASH,       IDC_CALC,   IDC_ACTUAL_WIRE,    IDC_HELP_BUTTON,
};

// Dialog base units of the window's font, worked out as the dialog manager
// does: the average width of the 52 letters and the font's cell height.
struct BaseUnits {
    int x = 0;
    int y = 0;
};

BaseUnits DialogFontUnits()
{
    HDC screen = GetDC(nullptr);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", "MS Sans Serif");
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(screen, handle);
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32A(screen, kAlphabet, 52, &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    DeleteObject(handle);
    ReleaseDC(nullptr, screen);
    return {(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

// A rectangle in dialog units as pixels, corner by corner as MapDialogRect does.
RECT ToPixels(BaseUnits units, int x, int y, int width, int height)
{
    return {MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(x + width, units.x, 4),
            MulDiv(y + height, units.y, 8)};
}

std::string Describe(const RECT& rect)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

int IdOf(HWND window)
{
    return window == nullptr ? 0 : GetDlgCtrlID(window);
}

class CalculatorWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session_.Start(VintrelPath())) << "no window \"Vintrel\" appeared"; }

    void TearDown() override
    {
        if (session_.Process().Running()) {
            EXPECT_EQ(session_.Close(), std::optional<DWORD>(0));
        }
    }

    // Focus of the calculator after `key` has been posted, once it has moved.
    int FocusAfterKey(WORD key)
    {
        const HWND before = driver::FocusOf(session_.ThreadId());
        EXPECT_TRUE(driver::PostKey(session_.ThreadId(), key));
        driver::WaitUntil([&] { return driver::FocusOf(session_.ThreadId()) != before; });
        return IdOf(driver::FocusOf(session_.ThreadId()));
    }

    Session session_;
};

TEST_F(CalculatorWindow, FrameIsAFixedDialogAtItsPlace)
{
    const HWND window = session_.Window();
    EXPECT_EQ(driver::ClassName(window), "#32770");
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << "the window has no owner";
    EXPECT_EQ(driver::Style(window), kWindowStyle) << std::hex << driver::Style(window);
    EXPECT_EQ(driver::ExStyle(window) & ~kSystemFrameExStyles, kWindowExStyle) << std::hex << driver::ExStyle(window);

    const BaseUnits units = DialogFontUnits();
    const RECT expected = ToPixels(units, kDialogX, kDialogY, kDialogWidth, kDialogHeight);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const RECT actual{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    EXPECT_EQ(Describe(actual), Describe(expected)) << "client area on the screen, base units " << units.x << "x"
                                                    << units.y;
}

TEST_F(CalculatorWindow, ControlsInCreationOrderWithTheirClassesStylesTextsAndRectangles)
{
    const auto children = driver::ChildWindows(session_.Window());
    ASSERT_EQ(children.size(), kControls.size());
    const BaseUnits units = DialogFontUnits();
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        const HWND control = children[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(row.id));
        EXPECT_EQ(GetDlgCtrlID(control), row.id);
        EXPECT_STRCASEEQ(driver::ClassName(control).c_str(), row.className);
        EXPECT_EQ(driver::Style(control), row.style) << std::hex << driver::Style(control);
        EXPECT_EQ(driver::ExStyle(control), row.style == kTextBoxStyle ? kTextBoxExStyle : 0)
            << std::hex << driver::ExStyle(control);
        EXPECT_EQ(driver::ReadText(control), std::optional<std::string>(row.text));
        EXPECT_EQ(Describe(driver::RectInClient(control, session_.Window())),
                  Describe(ToPixels(units, row.x, row.y, row.width, row.height)));
    }
}

TEST_F(CalculatorWindow, TabVisitsTheEightStopsInOrderAndWraps)
{
    ASSERT_EQ(IdOf(driver::FocusOf(session_.ThreadId())), IDC_PITCH_DIAMETER) << "first focus";
    for (std::size_t step = 1; step <= kTabOrder.size(); ++step) {
        EXPECT_EQ(FocusAfterKey(VK_TAB), kTabOrder[step % kTabOrder.size()]) << "after Tab number " << step;
    }
}

TEST_F(CalculatorWindow, ShiftTabGoesBackAndWraps)
{
    // Real keystrokes, since Shift must be down in the program's own keyboard state.
    const DWORD thread = session_.ThreadId();
    for (std::size_t step = 1; step <= kTabOrder.size(); ++step) {
        const HWND before = driver::FocusOf(thread);
        ASSERT_TRUE(driver::SendKey(session_.Window(), VK_TAB, true));
        driver::WaitUntil([&] { return driver::FocusOf(thread) != before; });
        EXPECT_EQ(IdOf(driver::FocusOf(thread)), kTabOrder[(kTabOrder.size() - step) % kTabOrder.size()])
            << "after Shift+Tab number " << step;
    }
}

TEST_F(CalculatorWindow, ClickOnALabelOrResultFieldMovesNoFocus)
{
    const DWORD thread = session_.ThreadId();
    // A click on a text box does move the focus: the clicks reach the window.
    ASSERT_TRUE(driver::ClickWithMouse(session_.Control(IDC_BACKLASH)));
    ASSERT_TRUE(driver::WaitUntil([&] { return IdOf(driver::FocusOf(thread)) == IDC_BACKLASH; }));

    for (int id : {IDC_LBL_STARTS, IDC_LBL_BACKLASH, IDC_OUT_PITCH, IDC_OUT_KEY_ANGLE, IDC_INPUT_FRAME}) {
        ASSERT_TRUE(driver::ClickWithMouse(session_.Control(id)));
        driver::Settle(150);
        EXPECT_EQ(IdOf(driver::FocusOf(thread)), IDC_BACKLASH) << "after a click on control " << id;
    }
}

TEST_F(CalculatorWindow, EnterAndEscInATextBoxLeaveTheWindowOpenAndUnchanged)
{
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        ASSERT_TRUE(driver::PostKey(session_.ThreadId(), key));
    }
    driver::Settle(300);
    EXPECT_TRUE(IsWindow(session_.Window()));
    EXPECT_TRUE(driver::TopLevelWindows(session_.ProcessId(), "#32770").size() == 1) << "a box appeared";
    const auto results = session_.ReadResults();
    ASSERT_TRUE(results);
    for (const std::string& text : *results) {
        EXPECT_EQ(text, "");
    }
}

TEST_F(CalculatorWindow, MinimizeAndRestoreKeepTheWindow)
{
    ASSERT_TRUE(PostMessageA(session_.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0));
    EXPECT_TRUE(driver::WaitUntil([&] { return IsIconic(session_.Window()) != FALSE; }));
    ASSERT_TRUE(PostMessageA(session_.Window(), WM_SYSCOMMAND, SC_RESTORE, 0));
    EXPECT_TRUE(driver::WaitUntil([&] { return IsIconic(session_.Window()) == FALSE; }));
    EXPECT_TRUE(session_.Process().Running());
    EXPECT_EQ(driver::Style(session_.Window()), kWindowStyle) << std::hex << driver::Style(session_.Window());
}

TEST_F(CalculatorWindow, CloseBoxEndsTheProgramWithExitCodeZero)
{
    EXPECT_EQ(session_.Close(), std::optional<DWORD>(0));
    EXPECT_FALSE(IsWindow(session_.Window()));
}

TEST(CalculatorStart, CommandLineArgumentsAreIgnored)
{
    for (const char* arguments : {"/?", "--help 1.025 5 4", "-x \"quoted text\" C:\\nothing.txt"}) {
        SCOPED_TRACE(arguments);
        Session session;
        ASSERT_TRUE(session.Start(VintrelPath(), arguments));
        const auto inputs = session.ReadInputs();
        ASSERT_TRUE(inputs);
        const calculator::Inputs defaults;
        for (const auto& box : calculator::kInputBoxes) {
            EXPECT_EQ((*inputs).*box.text, defaults.*box.text);
        }
        EXPECT_EQ(session.Close(), std::optional<DWORD>(0));
    }
}

TEST(CalculatorStart, TwoCopiesRunSideBySide)
{
    Session first;
    Session second;
    ASSERT_TRUE(first.Start(VintrelPath()));
    ASSERT_TRUE(second.Start(VintrelPath()));
    EXPECT_NE(first.Window(), second.Window());
    EXPECT_EQ(second.Close(), std::optional<DWORD>(0));
    EXPECT_TRUE(first.Process().Running());
    EXPECT_EQ(first.Close(), std::optional<DWORD>(0));
}

}  // namespace
