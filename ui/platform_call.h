// Every call the window code makes into the platform goes through PlatformCall,
// which loads the program's x87 mode again afterwards: system code may leave the
// control word changed (precision, masks), and no calculation may run in any
// mode but the program's own.
#pragma once

#include <type_traits>
#include <utility>

#include "../engine/fpu_mode.h"

// Calls `function(args...)`, reloads the program's FPU mode, and returns what the call returned.
template <class Function, class... Args>
decltype(auto) PlatformCall(Function&& function, Args&&... args)
{
    using Result = std::invoke_result_t<Function, Args...>;
    if constexpr (std::is_void_v<Result>) {
        std::forward<Function>(function)(std::forward<Args>(args)...);
        LoadProgramFpuMode();
    } else {
        Result result = std::forward<Function>(function)(std::forward<Args>(args)...);
        LoadProgramFpuMode();
        return result;
    }
}
