// The command line of vintrel-calc: which output it wants and the six input
// texts, read from the arguments; and the usage text that describes them.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "calculation.h"

// What the program is asked to do.
enum class RunMode {
    Text,   // one calculation, one "Label: text" line per result field
    Json,   // one calculation as one JSON object
    Batch,  // a CSV of inputs on standard input, a CSV of outcomes on standard output
    Help,   // the usage text
};

struct CommandLine {
    RunMode mode = RunMode::Text;
    InputTexts inputs = StartInputTexts();  // as given; the start texts otherwise
};

// The command line, or the one-line reason it is not one (error non-empty).
struct CommandLineParse {
    CommandLine commandLine;
    std::string error;
};

// Reads the arguments after the program name. An input option takes its text
// as "--opt=T" or as the next argument "--opt T", whatever that argument begins
// with, so "--backlash -1" is a backlash of -1 and "--actual-wire=" an empty
// text. Each option may be given once; --json and --batch exclude each other,
// and --batch takes no input options (its rows hold them). Pure.
CommandLineParse ParseCommandLine(std::span<const std::string_view> arguments);

// The text --help prints: synopsis, inputs with their defaults, outputs, exit status.
std::string UsageText();
