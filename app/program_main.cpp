// ProgramMain: the common controls registered through the library loaded by name
// (the version the manifest binds), then the one calculator window.

#include "program_main.h"

#include <windows.h>
#include <commctrl.h>

#include "../ui/calculator_dialog.h"
#include "../ui/platform_call.h"

namespace {

// Module name and entry looked up for the main registration.
constexpr char kCommonControlsModule[] = "COMCTL32.DLL";
constexpr char kRegistrationEntry[] = "InitCommonControlsEx";

// ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES: the classic set,
// which adds the up-down and animation classes the start-up mask leaves out.
constexpr DWORD kMainRegistrationClasses = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
static_assert(kMainRegistrationClasses == 0x9FF);

using InitCommonControlsExEntry = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// Registers the common-control classes through the library loaded by name; with no
// InitCommonControlsEx in it, InitCommonControls stands in. The x87 mode is loaded
// again after each direct call into the platform; the call through the looked-up
// entry is followed by the reload after FreeLibrary.
void RegisterCommonControls()
{
    HMODULE library = PlatformCall(LoadLibraryA, kCommonControlsModule);
    if (library == nullptr)
        return;

    const FARPROC entry = PlatformCall(GetProcAddress, library, kRegistrationEntry);
    if (entry != nullptr) {
        // Through void(*)() because the looked-up entry's real type is only known here.
        const auto registerClasses =
            reinterpret_cast<InitCommonControlsExEntry>(reinterpret_cast<void (*)()>(entry));
        const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), kMainRegistrationClasses};
        registerClasses(&classes);
    } else {
        PlatformCall(InitCommonControls);
    }
    PlatformCall(FreeLibrary, library);
}

}  // namespace

int ProgramMain()
{
    RegisterCommonControls();
    ShowCalculatorDialog(nullptr);  // its result does not change the exit code
    return 0;
}
