// Loading and reading the x87 control word. The same instructions serve the
// 32-bit Windows build and the x86-64 Linux build, where long double
// arithmetic also runs on the x87 unit.

#include "fpu_mode.h"

void LoadProgramFpuMode()
{
    const std::uint16_t controlWord = kProgramFpuControlWord;
    // "memory" keeps the compiler from moving stores and loads across the mode change.
    asm volatile("fclex\n\tfldcw %0" : : "m"(controlWord) : "memory");
}

std::uint16_t CurrentFpuControlWord()
{
    std::uint16_t controlWord;
    asm volatile("fnstcw %0" : "=m"(controlWord) : : "memory");
    return controlWord;
}
