// solve_thread_fuzz: SolveThread on six arbitrary 80-bit patterns (ten bytes
// each, in ThreadInputs order; a short input is padded with zero bytes): NaNs,
// infinities, denormals, unnormals, huge and negative values.
//
// In the program's floating-point mode (every exception masked; nothing is
// unmasked here) the call must end within 10001 passes, leave the x87 unit
// as it found it (no stack fault, an empty register stack, the same control
// word), never report Converged with a NaN key angle, and its results must
// format into the window's texts.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fpu_mode.h"
#include "fuzz_check.h"
#include "result_texts.h"
#include "thread_solver.h"

namespace {

constexpr std::size_t kFormatBytes = 10;
constexpr std::size_t kInputCount = 6;

// The six inputs in their declaration order.
constexpr std::array<long double ThreadInputs::*, kInputCount> kInputMembers = {
    &ThreadInputs::pitchDiameter,         &ThreadInputs::threadsPerInch, &ThreadInputs::starts,
    &ThreadInputs::axialPressureAngleDeg, &ThreadInputs::backlash,       &ThreadInputs::actualWireDiameter,
};

std::string Describe(const ThreadInputs& inputs)
{
    std::string text;
    for (const auto member : kInputMembers)
        text += fuzz::HexText(inputs.*member) + " ";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ThreadInputs inputs;
    for (std::size_t i = 0; i < kInputCount; ++i) {
        unsigned char bytes[sizeof(long double)] = {};
        const std::size_t offset = i * kFormatBytes;
        if (offset < size)
            std::memcpy(bytes, data + offset, size - offset < kFormatBytes ? size - offset : kFormatBytes);
        std::memcpy(&(inputs.*kInputMembers[i]), bytes, sizeof(long double));
    }

    LoadProgramFpuMode();
    const std::uint16_t controlWord = CurrentFpuControlWord();
    ThreadResults results;
    const SolveStatus status = SolveThread(inputs, results);

    const std::string what = Describe(inputs);
    if (results.passes < 1 || results.passes > kMaxSolverPasses)
        fuzz::Fail(what, "the iteration ends within its passes", "1 to 10001", std::to_string(results.passes));
    if (status == SolveStatus::Converged) {
        if (std::isnan(results.keyAngle))
            fuzz::Fail(what, "Converged carries a key angle", "a number", fuzz::HexText(results.keyAngle));
        // The texts the window would show: every field has one, the two of the
        // actual wire only when there is one.
        const auto texts = FormatResultFields(results);
        for (const ResultFieldFormat& format : kResultFieldFormats) {
            const bool actualWireField =
                format.field == ResultField::ActualDistance || format.field == ResultField::ActualNewDistance;
            const bool shown = !texts[static_cast<std::size_t>(format.field)].empty();
            if (shown != (!actualWireField || results.hasActualWire))
                fuzz::Fail(what, "a text for every field shown", std::string(format.name), shown ? "text" : "none");
        }
    }

    fuzz::CheckX87StackBalanced(what);
    if (CurrentFpuControlWord() != controlWord)
        fuzz::Fail(what, "the floating-point mode is left as it was", std::to_string(controlWord),
                   std::to_string(CurrentFpuControlWord()));
    return 0;
}
