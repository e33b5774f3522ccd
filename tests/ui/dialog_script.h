// Drives a modal run from inside it. The run blocks the test, so the steps are
// played one per tick of a thread timer, which the run's own message loop
// dispatches; a watchdog ends a run that a faulty dialog would keep open.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

using DialogStep = std::function<void()>;

// Plays `steps` during the next modal run on this thread, one per tick, so that
// what a step posts has been handled when the next step runs. Disarms itself when
// destroyed. If the run is still going after the last step and a grace period, the
// watchdog fails the test and destroys the thread's dialogs, which ends the run.
class DialogScript {
public:
    explicit DialogScript(std::vector<DialogStep> steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // True once every step has run.
    bool Finished() const;
};

// The thread's top-level dialog window with this title, or null.
HWND FindThreadDialog(const char* title);

// The window's rectangle in the client coordinates of `dialog`.
RECT RectInDialog(HWND dialog, HWND control);

// A rectangle in dialog units, converted corner by corner to pixels.
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);

// Posts a key press (key down, then key up) to `window`, as the keyboard would.
void PostKey(HWND window, UINT virtualKey);
