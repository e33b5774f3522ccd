// One calculation of the command-line calculator, made the way the window's
// calculate command makes it: parse, solve, format, pick the message.

#include "calculation.h"

#include <cstddef>

#include "fpu_mode.h"
#include "parse_number.h"

const std::array<InputField, kInputCount> kInputFields = {{
    {"pitch-diameter", "pitchDiameter", "1.025", "pitch diameter wanted", &ThreadInputs::pitchDiameter},
    {"tpi", "threadsPerInch", "5", "threads per inch", &ThreadInputs::threadsPerInch},
    {"starts", "starts", "4", "number of starts", &ThreadInputs::starts},
    {"pressure-angle", "axialPressureAngleDeg", "14.5", "axial pressure angle, degrees",
     &ThreadInputs::axialPressureAngleDeg},
    {"backlash", "backlash", "0.0004", "backlash allowance", &ThreadInputs::backlash},
    {"actual-wire", "actualWireDiameter", "", "diameter of the wires at hand (empty: none)",
     &ThreadInputs::actualWireDiameter},
}};

InputTexts StartInputTexts()
{
    InputTexts texts;
    for (std::size_t i = 0; i < kInputFields.size(); ++i)
        texts[i] = std::string(kInputFields[i].startText);
    return texts;
}

const ResultFieldFormat& FormatOf(ResultField field)
{
    return kResultFieldFormats[static_cast<std::size_t>(field)];
}

Calculation Calculate(const InputTexts& texts)
{
    LoadProgramFpuMode();

    ThreadInputs inputs;
    for (std::size_t i = 0; i < kInputFields.size(); ++i)
        inputs.*kInputFields[i].member = ParseNumber(texts[i]);

    Calculation calculation;
    calculation.status = SolveThread(inputs, calculation.results);
    if (calculation.status == SolveStatus::NoConvergence) {
        calculation.message = kNoConvergenceMessage;
        return calculation;  // nothing is to be shown
    }
    calculation.texts = FormatResultFields(calculation.results);
    if (calculation.results.residualHigh)
        calculation.message = kHighResidualMessage;
    return calculation;
}
