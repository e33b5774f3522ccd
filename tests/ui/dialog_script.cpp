// Timer-driven steps for tests of modal runs, and small window helpers.

#include "dialog_script.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>

namespace {

// Pause between steps: long enough for what a step posts to be handled first.
constexpr UINT kStepMilliseconds = 30;
// A run still open this long after it started is stuck.
constexpr UINT kWatchdogMilliseconds = 20000;
// The platform's class name for dialog windows.
constexpr char kDialogClass[] = "#32770";

// The one script of the thread: the timers' callbacks take no context.
struct ScriptState {
    std::vector<DialogStep> steps;
    std::size_t next = 0;
    UINT_PTR stepTimer = 0;
    UINT_PTR watchdogTimer = 0;
};
ScriptState* g_script = nullptr;

BOOL CALLBACK DestroyDialog(HWND window, LPARAM)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == kDialogClass)
        DestroyWindow(window);
    return TRUE;
}

void CALLBACK OnStepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_script == nullptr || g_script->next >= g_script->steps.size())
        return;
    // Take the step before running it: a step may run a nested loop that ticks again.
    DialogStep step = std::move(g_script->steps[g_script->next++]);
    step();
}

void CALLBACK OnWatchdogTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ADD_FAILURE() << "the modal run did not end; destroying its dialog";
    EnumThreadWindows(GetCurrentThreadId(), DestroyDialog, 0);
}

struct FindByTitle {
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<FindByTitle*>(context);
    char className[32] = {};
    char title[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (std::string(className) == kDialogClass && std::string(title) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DialogScript::DialogScript(std::vector<DialogStep> steps)
{
    g_script = new ScriptState{std::move(steps)};
    g_script->stepTimer = SetTimer(nullptr, 0, kStepMilliseconds, OnStepTimer);
    g_script->watchdogTimer = SetTimer(nullptr, 0, kWatchdogMilliseconds, OnWatchdogTimer);
}

DialogScript::~DialogScript()
{
    KillTimer(nullptr, g_script->stepTimer);
    KillTimer(nullptr, g_script->watchdogTimer);
    delete g_script;
    g_script = nullptr;
}

bool DialogScript::Finished() const
{
    return g_script->next == g_script->steps.size();
}

HWND FindThreadDialog(const char* title)
{
    FindByTitle search{title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT RectInDialog(HWND dialog, HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height)
{
    RECT rect{x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

void PostKey(HWND window, UINT virtualKey)
{
    const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scanCode << 16);
    // Key up: the previous-state and transition bits set.
    const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);
    PostMessageA(window, WM_KEYDOWN, virtualKey, down);
    PostMessageA(window, WM_KEYUP, virtualKey, up);
}
