// The driver's primitives: one function per thing a user does or sees, each
// bounded in time. Works across processes, so only messages that the system
// carries between processes (WM_GETTEXT, WM_SETTEXT, BM_CLICK, keys) are used.

#include "window_driver.h"

#include <algorithm>

namespace driver {
namespace {

// How often a wait looks again: short against human reaction, long enough not
// to starve the program under test of the processor.
constexpr DWORD kPollIntervalMs = 5;

// Bytes ReadText offers a text at first: enough for every result field and
// for the input boxes as a user fills them.
constexpr std::size_t kShortTextBuffer = 2048;

// The control id of a message box's text and of its icon (the platform's).
constexpr int kMessageBoxTextId = 0xFFFF;

// Key message lParam bits: a repeat count of one, and for a release the
// "was down" and "being released" flags (bits 30 and 31).
constexpr UINT kKeyRepeatOnce = 1;
constexpr UINT kKeyReleased = 0xC0000000u;

void PumpOwnMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct EnumQuery {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context)
{
    auto* query = reinterpret_cast<EnumQuery*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query->processId && IsWindowVisible(window) && ClassName(window) == query->className) {
        query->found.push_back(window);
    }
    return TRUE;
}

void CALLBACK MarkPressDone(HWND, UINT, ULONG_PTR context, LRESULT)
{
    *reinterpret_cast<bool*>(context) = true;
}

INPUT KeyInput(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT MouseInput(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// A real left click at a point of the screen.
bool ClickAt(POINT point)
{
    if (!SetCursorPos(point.x, point.y)) {
        return false;
    }
    INPUT clicks[] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    return SendInput(2, clicks, sizeof(INPUT)) == 2;
}

// What part of `window` lies under a point of the screen (HT*), or HTNOWHERE
// if the window did not answer.
LRESULT HitTest(HWND window, POINT point)
{
    DWORD_PTR hit = HTNOWHERE;
    if (!SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y), SMTO_ABORTIFHUNG,
                             kStepTimeoutMs, &hit)) {
        return HTNOWHERE;
    }
    return static_cast<LRESULT>(hit);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpOwnMessages();
        if (ready()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(kPollIntervalMs);
    }
}

void Settle(DWORD ms)
{
    WaitUntil([] { return false; }, ms);
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path.front() != '/') {
        return path;
    }
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

AppProcess::~AppProcess()
{
    if (info_.hProcess == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, kStepTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool AppProcess::Start(const std::string& exePath, const std::string& arguments)
{
    if (info_.hProcess != nullptr) {
        return false;
    }
    const std::string program = WindowsPath(exePath);
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != FALSE;
}

bool AppProcess::Running() const
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> AppProcess::WaitForExit(DWORD timeoutMs)
{
    if (info_.hProcess == nullptr ||
        !WaitUntil([this] { return !Running(); }, timeoutMs)) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className)
{
    EnumQuery query{processId, className, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, className)) {
                char text[256] = {};
                GetWindowTextA(window, text, sizeof text);
                if (std::string_view(text) == title) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

LONG Style(HWND window)
{
    return GetWindowLongA(window, GWL_STYLE);
}

LONG ExStyle(HWND window)
{
    return GetWindowLongA(window, GWL_EXSTYLE);
}

RECT RectInClient(HWND window, HWND parent)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::optional<std::string> ReadText(HWND window, DWORD timeoutMs)
{
    // Most texts fit a small buffer and take one message; a text that fills it
    // is measured and read again in full.
    std::string text(kShortTextBuffer, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, timeoutMs, &copied)) {
        return std::nullopt;
    }
    if (copied + 1 < text.size()) {
        text.resize(copied);
        return text;
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)) {
        return std::nullopt;
    }
    text.assign(length + 1, '\0');
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, timeoutMs, &copied)) {
        return std::nullopt;
    }
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

bool WriteText(HWND window, std::string_view text, DWORD timeoutMs)
{
    const std::string terminated(text);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()),
                               SMTO_ABORTIFHUNG, timeoutMs, &result) != 0 &&
           result != 0;
}

bool TypeText(HWND edit, std::string_view text)
{
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(edit, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, kStepTimeoutMs, &ignored)) {
        return false;
    }
    if (text.empty()) {
        PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    }
    for (char c : text) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    return WaitUntil([&] { return ReadText(edit) == std::string(text); });
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

bool PostKey(DWORD threadId, WORD virtualKey)
{
    const HWND focus = FocusOf(threadId);
    return focus != nullptr && PostKeyTo(focus, virtualKey);
}

bool PostKeyTo(HWND window, WORD virtualKey)
{
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = static_cast<LPARAM>(kKeyRepeatOnce | (scan << 16));
    const LPARAM up = static_cast<LPARAM>(static_cast<UINT>(down) | kKeyReleased);
    if (!PostMessageA(window, WM_KEYDOWN, virtualKey, down)) {
        return false;
    }
    // The key-down may already have ended the window (Esc closing a box)
    // before the key-up is posted; the key has been pressed all the same.
    PostMessageA(window, WM_KEYUP, virtualKey, up);
    return true;
}

bool SendKey(HWND window, WORD virtualKey, bool shift)
{
    SetForegroundWindow(window);
    if (!WaitUntil([&] { return GetForegroundWindow() == window; })) {
        return false;
    }
    std::vector<INPUT> inputs;
    if (shift) {
        inputs.push_back(KeyInput(VK_SHIFT, false));
    }
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (shift) {
        inputs.push_back(KeyInput(VK_SHIFT, true));
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool ClickWithMouse(HWND window)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        return false;
    }
    return ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

Press::Press(HWND button) : state_(new State)
{
    sent_ = SendMessageCallbackA(button, BM_CLICK, 0, 0, MarkPressDone,
                                 reinterpret_cast<ULONG_PTR>(&state_->done)) != FALSE;
}

Press::~Press()
{
    // The answer may still come after a failed test; its target must then
    // outlive this object, so an unanswered press keeps its few bytes.
    if (!sent_ || WaitDone()) {
        delete state_;
    }
}

bool Press::WaitDone(DWORD timeoutMs) const
{
    return sent_ && WaitUntil([this] { return state_->done; }, timeoutMs);
}

std::optional<MessageBoxView> ReadMessageBox(HWND box)
{
    MessageBoxView view;
    view.box = box;
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    view.caption = caption;
    for (HWND child : ChildWindows(box)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const std::string kind = ClassName(child);
        const int id = GetDlgCtrlID(child);
        if (_stricmp(kind.c_str(), "Static") == 0) {
            if ((Style(child) & SS_TYPEMASK) == SS_ICON) {
                // The icon control is there in every box; it shows an icon
                // only when it holds one.
                DWORD_PTR icon = 0;
                SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &icon);
                view.hasIcon = icon != 0;
            } else if (id == kMessageBoxTextId) {
                auto text = ReadText(child);
                if (!text) {
                    return std::nullopt;
                }
                view.text = *text;
            }
        } else if (_stricmp(kind.c_str(), "Button") == 0) {
            auto text = ReadText(child);
            if (!text) {
                return std::nullopt;
            }
            view.buttons.push_back(*text);
            view.buttonIds.push_back(id);
        }
    }
    return view;
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, HWND mainWindow, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, "#32770")) {
                if (window != mainWindow) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (found == nullptr) {
        return std::nullopt;
    }
    return ReadMessageBox(found);
}

bool AnswerOk(const MessageBoxView& box, DWORD timeoutMs)
{
    const HWND ok = GetDlgItem(box.box, IDOK);
    if (ok == nullptr || !PostMessageA(ok, BM_CLICK, 0, 0)) {
        return false;
    }
    return WaitUntil([&] { return !IsWindow(box.box); }, timeoutMs);
}

const char* BoxAnswerName(BoxAnswer answer)
{
    switch (answer) {
    case BoxAnswer::OkButton: return "OK pressed";
    case BoxAnswer::OkClick: return "OK clicked";
    case BoxAnswer::EnterKey: return "Enter";
    case BoxAnswer::EscapeKey: return "Esc";
    case BoxAnswer::CloseBox: return "close box";
    }
    return "?";
}

bool Answer(const MessageBoxView& box, BoxAnswer how, DWORD timeoutMs)
{
    const HWND ok = GetDlgItem(box.box, IDOK);
    bool done = false;
    switch (how) {
    case BoxAnswer::OkButton:
        return AnswerOk(box, timeoutMs);
    case BoxAnswer::OkClick:
        done = ok != nullptr && ClickWithMouse(ok);
        break;
    case BoxAnswer::EnterKey:
    case BoxAnswer::EscapeKey: {
        // The key goes to the box's focused control, or to its OK button while
        // the box has not got the focus (Wine on a bare X server now and then
        // activates a new box late, or not at all): the box's own message loop
        // hands either to its dialog manager, which reads Enter and Esc.
        const HWND focus = FocusOf(GetWindowThreadProcessId(box.box, nullptr));
        const HWND target = focus == box.box || IsChild(box.box, focus) ? focus : ok;
        done = target != nullptr && PostKeyTo(target, how == BoxAnswer::EnterKey ? VK_RETURN : VK_ESCAPE);
        break;
    }
    case BoxAnswer::CloseBox:
        done = ClickCloseBox(box.box);
        break;
    }
    return done && WaitUntil([&] { return !IsWindow(box.box); }, timeoutMs);
}

bool ClickCloseBox(HWND window)
{
    // The close box sits at the right end of the caption: walk leftwards along
    // the caption's middle line until the window says "close", and click the
    // middle of the stretch that says so.
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        return false;
    }
    const int frame = GetSystemMetrics(SM_CYFIXEDFRAME);
    const int y = rect.top + frame + GetSystemMetrics(SM_CYCAPTION) / 2;
    const int leftmost = std::max<int>(rect.left, rect.right - 4 * GetSystemMetrics(SM_CXSIZE));
    int right = -1;
    for (int x = rect.right - 1; x >= leftmost; --x) {
        const bool onClose = HitTest(window, {x, y}) == HTCLOSE;
        if (onClose && right < 0) {
            right = x;
        } else if (!onClose && right >= 0) {
            return ClickAt({(x + 1 + right) / 2, y});
        }
    }
    return false;
}

bool WaitIdle(HWND window, DWORD timeoutMs)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

}  // namespace driver
