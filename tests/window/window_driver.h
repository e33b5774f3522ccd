// Drives a Windows program from outside, as a user would: starts it, finds its
// windows, reads and types texts, presses buttons and keys, and finds, reads and
// answers its message boxes. Every wait is bounded; nothing here can hang.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// How long a step may take before the driver gives up on it. Generous, since a
// loaded machine running Wine can be slow; a passing step takes milliseconds.
inline constexpr DWORD kStepTimeoutMs = 10000;

// Pumps the driver's own messages and polls `ready` until it holds or
// `timeoutMs` has passed. Returns whether it held.
bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs = kStepTimeoutMs);

// Lets the driver's messages run for `ms` milliseconds: for checks that
// something does NOT happen.
void Settle(DWORD ms);

// A program started by the driver. Owns the process and thread handles; a
// program still running when this goes is terminated, so a failed test never
// leaves a window behind for the next one.
class AppProcess {
public:
    AppProcess() = default;
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    ~AppProcess();

    // Starts `exePath` (a Windows path, or a Unix path, read as one on drive Z:)
    // with `arguments` after its name on the command line.
    bool Start(const std::string& exePath, const std::string& arguments = "");

    DWORD ProcessId() const { return info_.dwProcessId; }
    DWORD ThreadId() const { return info_.dwThreadId; }
    bool Running() const;

    // Waits for the process to end and gives its exit code; nullopt on timeout.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kStepTimeoutMs);

private:
    PROCESS_INFORMATION info_{};
};

// The Windows form of a path: a Unix path is taken as one on drive Z:.
std::string WindowsPath(const std::string& path);

// The visible top-level windows of process `processId` with window class
// `className`, in z-order (topmost first).
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className);

// Waits for a visible top-level window of the process with that class and title.
HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title,
                           DWORD timeoutMs = kStepTimeoutMs);

// The child windows of `parent` in their order (the tab and creation order).
std::vector<HWND> ChildWindows(HWND parent);

std::string ClassName(HWND window);
LONG Style(HWND window);
LONG ExStyle(HWND window);

// A window's rectangle in the client coordinates of `parent`.
RECT RectInClient(HWND window, HWND parent);

// A window's whole text, read with WM_GETTEXT (which crosses processes, where
// GetWindowText of a foreign control would not ask the control). nullopt if
// the owner did not answer in time.
std::optional<std::string> ReadText(HWND window, DWORD timeoutMs = kStepTimeoutMs);

// Replaces a window's text with WM_SETTEXT, as pasting over it would.
bool WriteText(HWND window, std::string_view text, DWORD timeoutMs = kStepTimeoutMs);

// Types `text` into an edit box key by key (WM_CHAR), after selecting what it
// holds so that the typing replaces it; waits until the box shows the text.
bool TypeText(HWND edit, std::string_view text);

// The window that has the keyboard focus in thread `threadId`, and its active window.
HWND FocusOf(DWORD threadId);
HWND ActiveOf(DWORD threadId);

// Posts a key press (down and up) to the focused window of `threadId`, where
// the program's message loop and dialog manager see it as typed.
bool PostKey(DWORD threadId, WORD virtualKey);

// Posts a key press (down and up) to `window` itself.
bool PostKeyTo(HWND window, WORD virtualKey);

// Real keystrokes through the system's input queue: `window` is brought to the
// foreground first, as typed keys go there. With `shift`, Shift is held.
bool SendKey(HWND window, WORD virtualKey, bool shift = false);

// A real left click (SendInput) at the centre of `window`.
bool ClickWithMouse(HWND window);

// A button press in flight: BM_CLICK sent without waiting, so that the driver
// can go on while the program shows a message box inside the press. Done()
// turns true once the program has finished handling it.
class Press {
public:
    explicit Press(HWND button);
    Press(const Press&) = delete;
    Press& operator=(const Press&) = delete;
    ~Press();

    bool Sent() const { return sent_; }
    bool Done() const { return state_->done; }
    bool WaitDone(DWORD timeoutMs = kStepTimeoutMs) const;

private:
    struct State {
        bool done = false;
    };
    State* state_;
    bool sent_ = false;
};

// A message box as the user sees it.
struct MessageBoxView {
    HWND box = nullptr;
    std::string caption;
    std::string text;
    bool hasIcon = false;                 // an icon is shown beside the text
    std::vector<std::string> buttons;     // visible buttons' texts, in order
    std::vector<int> buttonIds;
};

// Reads what a message box shows.
std::optional<MessageBoxView> ReadMessageBox(HWND box);

// Waits for a message box of the process: a visible top-level dialog other than
// `mainWindow`.
std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, HWND mainWindow,
                                                DWORD timeoutMs = kStepTimeoutMs);

// Presses the box's OK button and waits until the box has gone.
bool AnswerOk(const MessageBoxView& box, DWORD timeoutMs = kStepTimeoutMs);

// The ways a user closes a message box whose only button is OK.
enum class BoxAnswer {
    OkButton,   // OK pressed (BM_CLICK)
    OkClick,    // a real mouse click on OK
    EnterKey,   // Enter, posted where the box's dialog manager reads it
    EscapeKey,  // Esc, likewise; a box without Cancel takes it as OK
    CloseBox,   // a real mouse click on the caption's close box
};
inline constexpr BoxAnswer kBoxAnswers[] = {BoxAnswer::OkButton, BoxAnswer::OkClick, BoxAnswer::EnterKey,
                                            BoxAnswer::EscapeKey, BoxAnswer::CloseBox};
const char* BoxAnswerName(BoxAnswer answer);

// Closes the box as `how` says and waits until it has gone.
bool Answer(const MessageBoxView& box, BoxAnswer how, DWORD timeoutMs = kStepTimeoutMs);

// A real left click on the close box in the caption of top-level `window`,
// found by asking the window what lies under each point (WM_NCHITTEST).
bool ClickCloseBox(HWND window);

// Waits until the thread of `window` has come back to its message loop: it
// answers a sent message only there (or in a nested loop such as a box's).
bool WaitIdle(HWND window, DWORD timeoutMs = kStepTimeoutMs);

}  // namespace driver
