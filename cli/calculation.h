// One calculation of the command-line calculator: the six input texts read as
// the window reads its boxes, solved, and the outcome with the texts and the
// message the window would show for it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "result_texts.h"
#include "thread_solver.h"

inline constexpr int kInputCount = 6;

// One input of a calculation: its option on the command line, its ThreadInputs
// name (also the JSON key and the CSV column), the start text of its box in the
// window (the default), a few words for the usage text, and its field.
struct InputField {
    std::string_view option;        // "pitch-diameter", written --pitch-diameter
    std::string_view name;          // "pitchDiameter"
    std::string_view startText;     // "1.025"
    std::string_view description;   // "pitch diameter wanted"
    long double ThreadInputs::*member;
};

// The six inputs in the order the window reads them; batch rows hold them in it too.
extern const std::array<InputField, kInputCount> kInputFields;

// The raw input texts, indexed like kInputFields.
using InputTexts = std::array<std::string, kInputCount>;

// The start texts of the six boxes: what a calculation reads when nothing is given.
InputTexts StartInputTexts();

// The result fields in the order the command line lists them: the figures a
// machinist reads first, then the two distances over the wires at hand.
inline constexpr std::array<ResultField, kResultFieldCount> kListedFields = {
    ResultField::Pitch,
    ResultField::Lead,
    ResultField::LeadAngle,
    ResultField::KeyAngle,
    ResultField::BestWireDiameter,
    ResultField::DistanceOverWires,
    ResultField::NewDistance,
    ResultField::ActualDistance,
    ResultField::ActualNewDistance,
};

// How a result field is made and named (kResultFieldFormats is indexed by field).
const ResultFieldFormat& FormatOf(ResultField field);

// The two messages the window shows in a message box, word for word.
inline constexpr std::string_view kNoConvergenceMessage = "Inputs out of range!";
inline constexpr std::string_view kHighResidualMessage = "High residual error, check results!";

// The outcome of one calculation.
struct Calculation {
    SolveStatus status = SolveStatus::NoConvergence;
    ThreadResults results;
    // The nine texts indexed by ResultField, as FormatResultFields makes them:
    // all empty on NoConvergence, the two actual-wire ones empty without an actual wire.
    std::array<std::string, kResultFieldCount> texts;
    // The text of the message box the window would show: kNoConvergenceMessage,
    // kHighResidualMessage, or empty when the window shows none.
    std::string_view message;
};

// Reads each text with ParseNumber, solves and formats, all in the program's
// floating-point mode (loaded here, so that whatever ran before cannot change
// the figures). Never fails; inputs are never rejected.
Calculation Calculate(const InputTexts& texts);
