// The process entry of Vintrel.exe: brings up COM, the instance handle, the
// common controls and the x87 mode, runs ProgramMain, and ends the process.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "../engine/fpu_mode.h"
#include "../ui/dialog_engine.h"
#include "../ui/platform_call.h"
#include "program_main.h"

namespace {

// ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
// ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS | ICC_PAGESCROLLER_CLASS |
// ICC_NATIVEFNTCTL_CLASS | ICC_STANDARD_CLASSES: the start-up registration.
constexpr DWORD kStartupRegistrationClasses =
    ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
    ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
    ICC_STANDARD_CLASSES;
static_assert(kStartupRegistrationClasses == 0x706F);

}  // namespace

// The command line and the launcher's show-window request are not used: the
// window always opens as the calculator lays it out.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The window runs in a single-threaded apartment; the result changes nothing.
    PlatformCall(CoInitialize, nullptr);
    g_programInstance = PlatformCall(GetModuleHandleA, nullptr);

    // Through the executable's own import, bound by the loader at start.
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), kStartupRegistrationClasses};
    PlatformCall(InitCommonControlsEx, &classes);
    LoadProgramFpuMode();

    const int exitCode = ProgramMain();

    PlatformCall(CoUninitialize);
    ExitProcess(static_cast<UINT>(exitCode));
}
