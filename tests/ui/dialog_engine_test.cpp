// The dialog engine in-process under Wine: controls of the four kinds as the
// platform made them, the dialog's font and place, what the handler hears and in
// which order, how a run ends and what it returns, Enter and Esc in a text box,
// the icons, and dialogs that could not be created.

#include "dialog_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "dialog_script.h"
#include "fpu_mode.h"

namespace {

// A small captioned dialog; WS_VISIBLE is in the style to show that creation
// ignores it.
constexpr char kTitle[] = "Engine test";
constexpr int kX = 20, kY = 20, kWidth = 200, kHeight = 120;
constexpr DWORD kStyle =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kExtendedStyle = WS_EX_CONTROLPARENT;

// An x87 control word some platform code might leave behind: 53-bit precision.
constexpr WORD kForeignControlWord = 0x027F;

// One control of each kind, with what the platform must report for it. The
// rectangles are picked so that converting the width or height on its own gives
// a pixel less or more than the distance between the converted corners, with the
// dialog units of "MS Sans Serif" 8 and of the usual stand-in fonts alike.
struct KindCase {
    const char* name;
    ControlKind kind;
    int id;
    const char* text;
    int x, y, width, height;
    const char* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

const KindCase kKindCases[] = {
    {"Label", ControlKind::Label, 2001, "Pitch & lead", 9, 9, 33, 12, "STATIC", 0x50000000, 0},
    {"TextBox", ControlKind::TextBox, 2002, "1.025", 45, 10, 37, 10, "EDIT", 0x50010080, 0x00000200},
    {"PushButton", ControlKind::PushButton, 2003, "CALC", 9, 29, 65, 15, "BUTTON", 0x50010000, 0},
    {"GroupBox", ControlKind::GroupBox, 2004, "", 5, 5, 193, 55, "BUTTON", 0x50000007, 0},
};

// One message as the handler heard it.
struct Heard {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool dialogVisible;
    WORD fpuControlWord;
};

// The recording handler's memory and its answers; a handler is a plain function.
struct Recorder {
    std::vector<Heard> heard;
    bool refuseClose = false;  // answer WM_SYSCOMMAND non-zero
    LONG answerForApp = 0;     // answer to WM_APP
    LONG answerForColor = 0;   // answer to WM_CTLCOLORSTATIC
};
Recorder* g_recorder = nullptr;

LONG RecordingHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_recorder->heard.push_back({message, wParam, lParam, IsWindowVisible(dialog) != FALSE,
                                 CurrentFpuControlWord()});
    switch (message) {
    case WM_SYSCOMMAND:
        return g_recorder->refuseClose ? 1 : 0;
    case WM_APP:
        return g_recorder->answerForApp;
    case WM_CTLCOLORSTATIC:
        return g_recorder->answerForColor;
    default:
        return 0;
    }
}

void LoadControlWord(WORD controlWord)
{
    asm volatile("fldcw %0" : : "m"(controlWord) : "memory");
}

class DialogEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_programInstance = GetModuleHandleA(nullptr);
        g_recorder = &recorder_;
    }

    void TearDown() override
    {
        g_recorder = nullptr;
        if (IsWindow(dialog_))
            DestroyWindow(dialog_);
    }

    // The test dialog with one control of each kind, not yet run.
    HWND CreateTestDialog()
    {
        dialog_ = CreateModalDialog(nullptr, kTitle, kX, kY, kWidth, kHeight, kStyle, kExtendedStyle);
        for (const KindCase& c : kKindCases)
            AddControl(dialog_, c.kind, c.id, c.text, c.x, c.y, c.width, c.height);
        return dialog_;
    }

    // Runs the dialog with the recording handler while `steps` play.
    int RunWithSteps(std::vector<DialogStep> steps)
    {
        DialogScript script(std::move(steps));
        const int result = RunModalDialog(dialog_, RecordingHandler);
        EXPECT_TRUE(script.Finished()) << "the run ended before its last step";
        return result;
    }

    // Where in what the handler heard the first `message` stands, or -1.
    int FirstHeard(UINT message, WPARAM wParam = 0, bool matchWParam = false) const
    {
        const auto& heard = recorder_.heard;
        for (std::size_t i = 0; i < heard.size(); ++i)
            if (heard[i].message == message && (!matchWParam || heard[i].wParam == wParam))
                return static_cast<int>(i);
        return -1;
    }

    bool HeardCommand(int id, int code) const
    {
        return FirstHeard(WM_COMMAND, MAKEWPARAM(id, code), true) >= 0;
    }

    Recorder recorder_;
    HWND dialog_ = nullptr;
};

TEST_F(DialogEngineTest, ControlsHaveTheirKindsClassStylesAndCornerConvertedRectangles)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0));

    for (const KindCase& c : kKindCases) {
        SCOPED_TRACE(c.name);
        HWND control = GetDlgItem(dialog_, c.id);
        ASSERT_NE(control, nullptr);
        char windowClass[32] = {};
        GetClassNameA(control, windowClass, sizeof windowClass);
        EXPECT_STRCASEEQ(windowClass, c.windowClass);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), c.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)), c.extendedStyle);
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        EXPECT_STREQ(text, c.text);

        const RECT want = DialogUnitsToPixels(dialog_, c.x, c.y, c.width, c.height);
        const RECT got = RectInDialog(dialog_, control);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), dialogFont);
    }
}

TEST_F(DialogEngineTest, DialogIsCreatedHiddenWithItsFontAtTheGivenPlace)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog_));
    // The platform adds bits of its own (WS_CLIPSIBLINGS, DS_3DLOOK); ours all stay.
    const auto style = static_cast<DWORD>(GetWindowLongA(dialog_, GWL_STYLE));
    EXPECT_EQ(style & WS_VISIBLE, 0u);
    EXPECT_EQ(style & kStyle, kStyle & ~WS_VISIBLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog_, GWL_EXSTYLE)) & kExtendedStyle, kExtendedStyle);
    char title[64] = {};
    GetWindowTextA(dialog_, title, sizeof title);
    EXPECT_STREQ(title, kTitle);

    // The font as realized on the screen: what the user reads.
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, dialogFont);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(screen, sizeof face, face);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    LOGFONTA font{};
    GetObjectA(dialogFont, sizeof font, &font);
    const int eightPoints = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(face, "MS Sans Serif");
    EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
    EXPECT_EQ(metrics.tmItalic, 0);
    EXPECT_EQ(metrics.tmCharSet, ANSI_CHARSET);
    EXPECT_EQ(font.lfHeight, eightPoints);

    // The client area sits at the given place, unmoved and uncentred, at the given size.
    const RECT want = DialogUnitsToPixels(dialog_, kX, kY, kWidth, kHeight);
    RECT client{};
    GetClientRect(dialog_, &client);
    POINT origin{0, 0};
    ClientToScreen(dialog_, &origin);
    EXPECT_EQ(origin.x, want.left);
    EXPECT_EQ(origin.y, want.top);
    EXPECT_EQ(client.right, want.right - want.left);
    EXPECT_EQ(client.bottom, want.bottom - want.top);
}

TEST_F(DialogEngineTest, HandlerHearsInitAndSizeWhileHiddenAndNeverActivate)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    const RECT want = DialogUnitsToPixels(dialog_, kX, kY, kWidth, kHeight);
    HWND activeDuringRun = nullptr;
    const int result = RunWithSteps({
        [&] { activeDuringRun = GetActiveWindow(); },
        [&] { SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); },
    });
    EXPECT_EQ(result, 0);

    const auto& heard = recorder_.heard;
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(heard[0].wParam, reinterpret_cast<WPARAM>(dialog_));
    EXPECT_EQ(heard[0].lParam, 0);
    EXPECT_FALSE(heard[0].dialogVisible);
    EXPECT_EQ(heard[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(heard[1].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(heard[1].lParam, MAKELPARAM(want.right - want.left, want.bottom - want.top));
    EXPECT_FALSE(heard[1].dialogVisible);
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(),
                            [](const Heard& h) { return h.message == WM_INITDIALOG; }),
              1)
        << "the platform's own WM_INITDIALOG must not reach the handler";

    // It was activated, and heard the non-client side of that, but not WM_ACTIVATE.
    EXPECT_EQ(activeDuringRun, dialog_);
    EXPECT_GE(FirstHeard(WM_NCACTIVATE), 0);
    EXPECT_EQ(FirstHeard(WM_ACTIVATE), -1);
}

// The ways the close command arrives; each ends the run with 0 after the handler
// heard WM_SYSCOMMAND and then WM_CLOSE, before the window went.
struct CloseCase {
    const char* name;
    void (*close)(HWND dialog);
};

const CloseCase kCloseCases[] = {
    {"SysCommand", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"SysCommandWithLowBits", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE | 0x2, 0); }},
    {"AltF4", [](HWND d) {
         // Alt held: the context-code bit of a system key message.
         PostMessageA(d, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(1 | (KF_ALTDOWN << 16)));
     }},
};

class DialogCloseTest : public DialogEngineTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(DialogCloseTest, CloseCommandEndsTheRunWithZero)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    const int result = RunWithSteps({[&] { GetParam().close(dialog_); }});
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(IsWindow(dialog_));

    const int sysCommand = FirstHeard(WM_SYSCOMMAND);
    const int close = FirstHeard(WM_CLOSE);
    const int destroy = FirstHeard(WM_DESTROY);
    ASSERT_GE(sysCommand, 0);
    EXPECT_EQ(recorder_.heard[static_cast<std::size_t>(sysCommand)].wParam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_GT(close, sysCommand);
    EXPECT_GT(destroy, close);
}

INSTANTIATE_TEST_SUITE_P(CloseWays, DialogCloseTest, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogEngineTest, HandlerAnsweringCloseKeepsTheDialogOpen)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    bool openAfterRefusal = false;
    bool closeHeardAfterRefusal = true;
    const int result = RunWithSteps({
        [&] {
            recorder_.refuseClose = true;
            SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
        [&] {
            openAfterRefusal = IsWindowVisible(dialog_) != FALSE;
            closeHeardAfterRefusal = FirstHeard(WM_CLOSE) >= 0;
            recorder_.refuseClose = false;
            SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_FALSE(closeHeardAfterRefusal);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(IsWindow(dialog_));
}

TEST_F(DialogEngineTest, QuitMinimizeAndRestoreDoNotEndTheRun)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    bool openAfterQuit = false;
    bool openAfterMinimize = false;
    const int result = RunWithSteps({
        [] { PostQuitMessage(7); },
        [&] {
            openAfterQuit = IsWindowVisible(dialog_) != FALSE;
            ShowWindow(dialog_, SW_MINIMIZE);
        },
        [&] { ShowWindow(dialog_, SW_RESTORE); },
        [&] {
            openAfterMinimize = IsWindowVisible(dialog_) && !IsIconic(dialog_);
            SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    EXPECT_TRUE(openAfterQuit);
    EXPECT_TRUE(openAfterMinimize);
    EXPECT_EQ(result, 0);
}

TEST_F(DialogEngineTest, HandlerAnswerIsTheMessageResultAndRunsInTheProgramFpuMode)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    recorder_.answerForApp = 1234;
    recorder_.answerForColor = static_cast<LONG>(reinterpret_cast<LONG_PTR>(brush));
    LRESULT appResult = 0;
    LRESULT colorResult = 0;
    // The word as the unit reports it once the program's mode is loaded (it may
    // set reserved bits of its own).
    LoadProgramFpuMode();
    const WORD programControlWord = CurrentFpuControlWord();
    WORD handlerControlWord = 0;
    RunWithSteps({[&] {
        LoadControlWord(kForeignControlWord);
        appResult = SendMessageA(dialog_, WM_APP, 0, 0);
        handlerControlWord = recorder_.heard.back().fpuControlWord;
        HDC dc = GetDC(dialog_);
        colorResult = SendMessageA(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(GetDlgItem(dialog_, 2001)));
        ReleaseDC(dialog_, dc);
        SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }});
    EXPECT_EQ(appResult, 1234);
    EXPECT_EQ(colorResult, reinterpret_cast<LRESULT>(brush));
    EXPECT_EQ(handlerControlWord, programControlWord);
}

TEST_F(DialogEngineTest, EscAndEnterInATextBoxLeaveItOpenAndTabbedButtonTakesEnter)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    HWND textBox = GetDlgItem(dialog_, 2002);
    HWND button = GetDlgItem(dialog_, 2003);
    bool openAfterKeys = false;
    HWND focusAfterTab = nullptr;
    const int result = RunWithSteps({
        [&] {
            SetFocus(textBox);
            PostKey(GetFocus(), VK_ESCAPE);
        },
        [&] { PostKey(GetFocus(), VK_RETURN); },
        [&] {
            openAfterKeys = IsWindowVisible(dialog_) != FALSE;
            PostKey(GetFocus(), VK_TAB);
        },
        [&] {
            focusAfterTab = GetFocus();
            PostKey(GetFocus(), VK_RETURN);
        },
        [&] { SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); },
    });
    EXPECT_TRUE(HeardCommand(IDCANCEL, 0));
    EXPECT_TRUE(HeardCommand(IDOK, 0));
    EXPECT_TRUE(openAfterKeys);
    // The label and the group box are passed over.
    EXPECT_EQ(focusAfterTab, button);
    EXPECT_TRUE(HeardCommand(2003, BN_CLICKED));
    EXPECT_EQ(result, 0);
}

// The size of an icon's colour image.
SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST_F(DialogEngineTest, IconsAreLoadedAtTheirSizesAndGoWithTheDialog)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    SetDialogIcon(dialog_, "ICON1");
    const auto bigIcon = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0));
    const auto smallIcon = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(bigIcon, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    EXPECT_EQ(IconSize(bigIcon).cx, 32);
    EXPECT_EQ(IconSize(bigIcon).cy, 32);
    EXPECT_EQ(IconSize(smallIcon).cx, 16);
    EXPECT_EQ(IconSize(smallIcon).cy, 16);

    RunWithSteps({[&] { SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); }});
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(bigIcon, &info)) << "big icon outlived its dialog";
    EXPECT_FALSE(GetIconInfo(smallIcon, &info)) << "small icon outlived its dialog";
}

TEST_F(DialogEngineTest, MissingIconGroupLeavesTheDialogWithoutIcons)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    SetDialogIcon(dialog_, "NO_SUCH_ICON");
    EXPECT_EQ(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(DialogEngineTest, DialogThatFailedToBeCreatedRunsToZeroAtOnce)
{
    // A child window with no parent: the platform refuses it.
    HWND failed = CreateModalDialog(nullptr, kTitle, kX, kY, kWidth, kHeight, WS_CHILD | DS_SETFONT, 0);
    ASSERT_EQ(failed, nullptr);
    SetDialogIcon(failed, "ICON1");
    AddControl(failed, ControlKind::Label, 2001, "x", 0, 0, 10, 10);
    EXPECT_EQ(RunModalDialog(failed, RecordingHandler), 0);
    // A window that is not one of ours is not run either.
    EXPECT_EQ(RunModalDialog(GetDesktopWindow(), RecordingHandler), 0);
    EXPECT_TRUE(recorder_.heard.empty());
}

TEST_F(DialogEngineTest, BadControlArgumentsCreateNothingAndHarmNothing)
{
    ASSERT_NE(CreateTestDialog(), nullptr);
    AddControl(dialog_, static_cast<ControlKind>(9), 3001, "kind out of range", 0, 0, 10, 10);
    EXPECT_EQ(GetDlgItem(dialog_, 3001), nullptr);
    AddControl(dialog_, ControlKind::Label, 3002, nullptr, INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    AddControl(dialog_, ControlKind::TextBox, 3003, "", 0, 0, -5, -5);
    SetDialogIcon(dialog_, nullptr);
    RunWithSteps({[&] { SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); }});
    EXPECT_FALSE(IsWindow(dialog_));
}

}  // namespace
