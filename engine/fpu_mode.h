// The floating-point mode every calculation of the program runs in, and the one
// place that loads it into the x87 unit.
#pragma once

#include <cstdint>

// x87 control word of the program: bits 0-5 mask all six exceptions, bits 8-9
// select the 64-bit significand, bits 10-11 clear round to nearest (ties to
// even), bit 12 is the legacy infinity control. Division by zero and invalid
// operations therefore give infinities and NaNs, never traps.
inline constexpr std::uint16_t kProgramFpuControlWord = 0x133F;

// Loads kProgramFpuControlWord. Called at start-up and again after every call
// into code that may have changed the mode (the platform, a test framework).
void LoadProgramFpuMode();

// The x87 control word currently in force.
std::uint16_t CurrentFpuControlWord();
