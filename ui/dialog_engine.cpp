// Run-time dialogs: an in-memory template for the empty dialog, child controls
// of the four kinds added one by one, and a modal run with the program's own
// message loop that routes the dialog's messages to the event handler.

#include "dialog_engine.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "platform_call.h"

HINSTANCE g_programInstance = nullptr;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables): set once at start-up

namespace {

// Window class and styles of each ControlKind, indexed by the kind.
struct ControlKindClass {
    const char* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

constexpr ControlKindClass kControlKinds[] = {
    // Label: plain left-aligned text; no SS_NOTIFY, so a click does nothing.
    {"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0},
    // TextBox: the sunken client edge stands in for WS_BORDER, so it has no WS_BORDER.
    {"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    // PushButton: never BS_DEFPUSHBUTTON, so Enter in a text box presses nothing.
    {"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
    // GroupBox: no WS_TABSTOP, it never takes the focus.
    {"BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0},
};
static_assert(kControlKinds[static_cast<int>(ControlKind::Label)].style == 0x50000000);
static_assert(kControlKinds[static_cast<int>(ControlKind::TextBox)].style == 0x50010080);
static_assert(kControlKinds[static_cast<int>(ControlKind::PushButton)].style == 0x50010000);
static_assert(kControlKinds[static_cast<int>(ControlKind::GroupBox)].style == 0x50000007);

// The font of every dialog: "MS Sans Serif", 8 points, normal weight, upright,
// ANSI character set. Its average character width and height define the dialog units.
constexpr WORD kDialogFontPoints = 8;
constexpr WORD kDialogFontWeight = FW_NORMAL;  // 400
constexpr BYTE kDialogFontItalic = FALSE;
constexpr BYTE kDialogFontCharset = ANSI_CHARSET;  // 0
constexpr char kDialogFontFace[] = "MS Sans Serif";

// Dialog template header fields that mark the extended template format, the one
// that carries the font's weight, italic flag and character set.
constexpr WORD kExtendedTemplateVersion = 1;
constexpr WORD kExtendedTemplateSignature = 0xFFFF;
// A zero WORD in the menu and class slots: no menu, the platform's dialog class.
constexpr WORD kNoResource = 0;

// Pixel sizes at which the icon group is loaded: the caption and task switcher
// show the big icon, the caption's corner and the taskbar the small one.
constexpr int kBigIconPixels = 32;
constexpr int kSmallIconPixels = 16;

// The result a run ends with when the user closes the window.
constexpr int kCloseResult = 0;

// The low four bits of a WM_SYSCOMMAND's command are used by the platform itself.
constexpr WPARAM kSysCommandMask = 0xFFF0;

// Coordinates of a dialog template are 16-bit; clamping to that range also keeps
// the corner sums of AddControl from overflowing.
constexpr int kMinDialogUnits = -32768;
constexpr int kMaxDialogUnits = 32767;

// Name of the window property that carries a dialog's DialogState.
constexpr char kStateProperty[] = "Vintrel.DialogState";

// The run in progress: what it ends with and whether its window is gone. It lives
// in RunModalDialog's frame; the dialog's state points to it while the run lasts.
struct ModalRun {
    int result = kCloseResult;
    bool windowGone = false;
};

// Everything a dialog keeps for itself, attached to the window as a property from
// just after creation until WM_NCDESTROY, which frees it.
struct DialogState {
    DialogEventHandler handler = nullptr;  // attached by RunModalDialog
    HICON bigIcon = nullptr;               // owned, destroyed with the window
    HICON smallIcon = nullptr;             // owned, destroyed with the window
    ModalRun* run = nullptr;
};

// The state of one of our dialogs, or null for a window that is not one (yet).
DialogState* StateOf(HWND dialog)
{
    if (dialog == nullptr)
        return nullptr;
    return static_cast<DialogState*>(PlatformCall(GetPropA, dialog, kStateProperty));
}

int ClampDialogUnits(int units)
{
    return std::clamp(units, kMinDialogUnits, kMaxDialogUnits);
}

// Babysits the bytes of an in-memory dialog template. The platform reads it as a
// run of WORDs and DWORDs with strings in UTF-16, starting on a DWORD boundary
// (which a vector's storage always is).
class DialogTemplate {
public:
    template <class Field>
    void Write(Field field)
    {
        const auto* first = reinterpret_cast<const BYTE*>(&field);
        bytes_.insert(bytes_.end(), first, first + sizeof field);
    }

    // Writes `text`, which is in the ANSI code page, as a terminated UTF-16 string.
    void WriteString(const char* text)
    {
        const int length =
            text ? PlatformCall(MultiByteToWideChar, CP_ACP, 0, text, -1, nullptr, 0) : 0;
        if (length <= 0) {
            Write<WCHAR>(L'\0');
            return;
        }
        std::vector<WCHAR> wide(static_cast<std::size_t>(length));
        PlatformCall(MultiByteToWideChar, CP_ACP, 0, text, -1, wide.data(), length);
        wide.back() = L'\0';
        for (WCHAR unit : wide)
            Write(unit);
    }

    // Items would start on the next DWORD; the empty dialog's template ends there too.
    void AlignToDword()
    {
        while (bytes_.size() % sizeof(DWORD) != 0)
            bytes_.push_back(0);
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    std::vector<BYTE> bytes_;
};

// --- Routing -----------------------------------------------------------------

// Calls the attached handler, if any; 0 when none is attached yet.
LONG CallHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const DialogState* state = StateOf(dialog);
    const DialogEventHandler handler = state ? state->handler : nullptr;
    return handler ? handler(dialog, message, wParam, lParam) : 0;
}

// Hands a non-zero answer of the handler back as the dialog's result for the
// message, for the messages that read DWLP_MSGRESULT and those that read the
// procedure's return value alike.
INT_PTR OnHandled(HWND dialog, LONG answer)
{
    PlatformCall(SetWindowLongPtrA, dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(answer));
    return answer;
}

// Ends the run: the handler hears WM_CLOSE, the result is kept for the run, and
// the window goes (its icons with it, in OnNcDestroy).
void EndModalRun(HWND dialog, int result)
{
    const DialogState* state = StateOf(dialog);
    ModalRun* run = state ? state->run : nullptr;
    PlatformCall(SendMessageA, dialog, WM_CLOSE, 0, 0);
    if (run != nullptr)
        run->result = result;
    PlatformCall(DestroyWindow, dialog);
}

// The close box, Alt+F4 and the window menu's Close, left to us by the handler.
INT_PTR OnSysCommand(HWND dialog, WPARAM command)
{
    if ((command & kSysCommandMask) != SC_CLOSE)
        return FALSE;
    EndModalRun(dialog, kCloseResult);
    return TRUE;
}

// The handler hears WM_NCDESTROY like any message; then the dialog lets go of
// its icons and its state, and tells the run that its window is gone. FALSE lets
// the platform free its own dialog data too.
INT_PTR OnNcDestroy(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    CallHandler(dialog, WM_NCDESTROY, wParam, lParam);
    std::unique_ptr<DialogState> state(StateOf(dialog));
    if (state == nullptr)
        return FALSE;
    PlatformCall(RemovePropA, dialog, kStateProperty);
    if (state->bigIcon != nullptr)
        PlatformCall(DestroyIcon, state->bigIcon);
    if (state->smallIcon != nullptr)
        PlatformCall(DestroyIcon, state->smallIcon);
    if (state->run != nullptr)
        state->run->windowGone = true;
    return FALSE;
}

// The dialog procedure of every dialog made here. Messages that arrive before the
// state is attached, the platform's own WM_INITDIALOG among them, are answered
// FALSE: no focus is set and the handler does not hear them. WM_ACTIVATE stays
// with the platform, which saves and restores the focused control on it.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Platform code called us, and the handler may calculate: restore our mode.
    LoadProgramFpuMode();
    if (StateOf(dialog) == nullptr)
        return FALSE;

    switch (message) {
    case WM_ACTIVATE:
        return FALSE;
    case WM_NCDESTROY:
        return OnNcDestroy(dialog, wParam, lParam);
    default:
        break;
    }

    // The state is looked up again after the handler: it may have ended the dialog.
    const LONG answer = CallHandler(dialog, message, wParam, lParam);
    if (answer != 0)
        return OnHandled(dialog, answer);

    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(dialog, wParam);
    default:
        // WM_CTLCOLOR* included: FALSE leaves the system colours.
        return FALSE;
    }
}

// Loads the icon group at a square size from the program's own module.
HICON LoadIconAtSize(const char* iconName, int pixels)
{
    return static_cast<HICON>(
        PlatformCall(LoadImageA, g_programInstance, iconName, IMAGE_ICON, pixels, pixels, 0u));
}

// Sets one of the dialog's icons and destroys the one it held before, if any.
void ReplaceIcon(HWND dialog, WPARAM which, HICON icon, HICON& owned)
{
    PlatformCall(SendMessageA, dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    if (owned != nullptr)
        PlatformCall(DestroyIcon, owned);
    owned = icon;
}

// Tells the handler about the dialog before it is shown, as it would hear it at
// creation: first WM_INITDIALOG, then WM_SIZE with the client area's pixel size.
void InitializeHandler(HWND dialog, DialogEventHandler handler)
{
    handler(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0);
    RECT client{};
    PlatformCall(GetClientRect, dialog, &client);
    handler(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

}  // namespace

HWND CreateModalDialog(HWND owner, const char* title, int x, int y, int width, int height,
                       DWORD style, DWORD extendedStyle)
{
    // Hidden until the run shows it, always with our font, and placed exactly
    // where asked.
    const DWORD templateStyle = (style | DS_SETFONT) & ~(WS_VISIBLE | DS_CENTER | DS_CENTERMOUSE);

    DialogTemplate dialogTemplate;
    dialogTemplate.Write(kExtendedTemplateVersion);
    dialogTemplate.Write(kExtendedTemplateSignature);
    dialogTemplate.Write(DWORD{0});  // help context
    dialogTemplate.Write(extendedStyle);
    dialogTemplate.Write(templateStyle);
    dialogTemplate.Write(WORD{0});  // controls are added afterwards, one by one
    dialogTemplate.Write(static_cast<short>(ClampDialogUnits(x)));
    dialogTemplate.Write(static_cast<short>(ClampDialogUnits(y)));
    dialogTemplate.Write(static_cast<short>(ClampDialogUnits(width)));
    dialogTemplate.Write(static_cast<short>(ClampDialogUnits(height)));
    dialogTemplate.Write(kNoResource);  // menu
    dialogTemplate.Write(kNoResource);  // window class
    dialogTemplate.WriteString(title);
    dialogTemplate.Write(kDialogFontPoints);
    dialogTemplate.Write(kDialogFontWeight);
    dialogTemplate.Write(kDialogFontItalic);
    dialogTemplate.Write(kDialogFontCharset);
    dialogTemplate.WriteString(kDialogFontFace);
    dialogTemplate.AlignToDword();

    HWND dialog = PlatformCall(CreateDialogIndirectParamA, g_programInstance, dialogTemplate.Get(),
                               owner, DialogProc, 0);
    if (dialog == nullptr)
        return nullptr;

    auto state = std::make_unique<DialogState>();
    if (!PlatformCall(SetPropA, dialog, kStateProperty, state.get())) {
        PlatformCall(DestroyWindow, dialog);
        return nullptr;
    }
    static_cast<void>(state.release());  // the window owns it now, freed at WM_NCDESTROY
    return dialog;
}

void SetDialogIcon(HWND dialog, const char* iconName)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
        return;
    HICON bigIcon = LoadIconAtSize(iconName, kBigIconPixels);
    if (bigIcon == nullptr)
        return;  // without the big icon the dialog gets none
    ReplaceIcon(dialog, ICON_BIG, bigIcon, state->bigIcon);
    HICON smallIcon = LoadIconAtSize(iconName, kSmallIconPixels);
    if (smallIcon != nullptr)
        ReplaceIcon(dialog, ICON_SMALL, smallIcon, state->smallIcon);
}

void AddControl(HWND dialog, ControlKind kind, int id, const char* text,
                int x, int y, int width, int height)
{
    const auto kindIndex = static_cast<std::size_t>(kind);
    if (StateOf(dialog) == nullptr || kindIndex >= std::size(kControlKinds))
        return;
    const ControlKindClass& kindClass = kControlKinds[kindIndex];

    // Both corners are converted, not the size: the pixel size is the distance
    // between the converted corners, so adjacent controls meet without gaps.
    const int left = ClampDialogUnits(x);
    const int top = ClampDialogUnits(y);
    RECT pixels{left, top, left + ClampDialogUnits(width), top + ClampDialogUnits(height)};
    PlatformCall(MapDialogRect, dialog, &pixels);

    HWND control = PlatformCall(CreateWindowExA, kindClass.extendedStyle, kindClass.windowClass, text,
                                kindClass.style, pixels.left, pixels.top, pixels.right - pixels.left,
                                pixels.bottom - pixels.top, dialog,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), g_programInstance,
                                nullptr);
    if (control == nullptr)
        return;
    const LRESULT font = PlatformCall(SendMessageA, dialog, WM_GETFONT, 0, 0);
    PlatformCall(SendMessageA, control, WM_SETFONT, static_cast<WPARAM>(font), MAKELPARAM(TRUE, 0));
}

int RunModalDialog(HWND dialog, DialogEventHandler handler)
{
    if (StateOf(dialog) == nullptr)
        return 0;
    if (handler != nullptr)
        InitializeHandler(dialog, handler);

    // The handler might have destroyed the dialog already; then there is nothing to run.
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
        return 0;
    ModalRun run;
    state->handler = handler;
    state->run = &run;
    PlatformCall(ShowWindow, dialog, SW_SHOW);

    // Our own loop: the dialog manager sees each message first for the keyboard
    // interface. Only the window's end stops it; WM_QUIT is dropped.
    MSG message{};
    while (!run.windowGone) {
        const BOOL got = PlatformCall(GetMessageA, &message, nullptr, 0u, 0u);
        if (got == -1)
            break;  // the queue itself failed; nothing more will arrive
        if (got == 0)
            continue;
        if (!PlatformCall(IsDialogMessageA, dialog, &message)) {
            PlatformCall(TranslateMessage, &message);
            PlatformCall(DispatchMessageA, &message);
        }
    }

    if (!run.windowGone) {
        if (DialogState* remaining = StateOf(dialog))
            remaining->run = nullptr;
    }
    return run.result;
}
