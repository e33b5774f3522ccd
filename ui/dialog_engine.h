// Dialogs built at run time from four kinds of control and run modally on the
// user-interface thread, with the program's event handler seeing their messages.
// The calling order is fixed: CreateModalDialog, then SetDialogIcon and AddControl
// any number of times, then RunModalDialog once.
#pragma once

#include <windows.h>

// The module handle of the executable, taken once at start-up. Dialogs, their
// controls and their icons are created and loaded from this module.
extern HINSTANCE g_programInstance;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

// The four kinds of control a dialog is made of. Each kind fixes the window
// class, style and extended style; no control gets styles of its own.
enum class ControlKind {
    Label,       // "STATIC": left-aligned text, no border
    TextBox,     // "EDIT": single line, scrolls while typing, sunken client edge
    PushButton,  // "BUTTON": an ordinary push button, never the default one
    GroupBox,    // "BUTTON": a frame, never takes the focus
};

// The program's handler for a dialog's messages. 0 leaves the message to the
// default processing; any other value is the answer to the message.
using DialogEventHandler = LONG (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Creates a dialog, hidden, with the font "MS Sans Serif" 8 at the given position
// and size in dialog units, exactly there (never centred). `owner` may be null.
// WS_VISIBLE in `style` takes effect only when the dialog is run. Returns null if
// the platform cannot create the window; the other operations then do nothing.
HWND CreateModalDialog(HWND owner, const char* title, int x, int y, int width, int height,
                       DWORD style, DWORD extendedStyle);

// Loads the icon group `iconName` from the program's resources at 32 x 32 as the
// big icon and at 16 x 16 as the small one. The dialog owns both and destroys
// them with itself. If the big one cannot be loaded the dialog gets no icon.
void SetDialogIcon(HWND dialog, const char* iconName);

// Creates one child control of `kind` with child identifier `id` and window text
// `text`, at the rectangle given in dialog units, in the dialog's font. A control
// that cannot be created is simply missing. Find it again with GetDlgItem.
void AddControl(HWND dialog, ControlKind kind, int id, const char* text,
                int x, int y, int width, int height);

// Shows the dialog and runs it until the close command ends it; returns the
// result it ended with (0 for the close command). `handler` first receives
// WM_INITDIALOG and WM_SIZE while the dialog is still hidden, then the dialog's
// messages (never WM_ACTIVATE). The dialog is destroyed when this returns.
// Returns 0 at once for a dialog that failed to be created.
int RunModalDialog(HWND dialog, DialogEventHandler handler);
