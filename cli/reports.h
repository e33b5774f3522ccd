// The three outputs of vintrel-calc, each made as text before anything is
// written: what goes to standard output, what to standard error, and the exit
// status. Main only moves these texts to the streams.
#pragma once

#include <string>
#include <string_view>

#include "calculation.h"

// The exit statuses of the program.
enum ExitStatus : int {
    kExitFigures = 0,      // figures for every calculation (a high residual only warns)
    kExitNoFigures = 1,    // a calculation did not converge, or a batch row was malformed
    kExitUsage = 2,        // the command line is not one the program takes
    kExitInputOutput = 3,  // standard input could not be read, or standard output not written
};

struct Report {
    std::string out;
    std::string err;
    int exitStatus = kExitFigures;
};

// One calculation as lines "Label: text", the texts aligned in one column; the
// two actual-wire lines only with an actual wire. The window's message, if any,
// goes to standard error: with "Inputs out of range!" nothing is printed else.
Report TextReport(const InputTexts& inputs);

// One calculation as one JSON object: status, message (null when none), passes,
// inputs (the texts as given), fields (the nine texts, "" for an absent actual
// wire) and values (the ThreadResults numbers, angles in radians, the actual-wire
// ones null without an actual wire, and the two flags). On no convergence fields
// and values are null: the solver leaves nothing to be shown. The message also
// goes to standard error.
Report JsonReport(const InputTexts& inputs);

// A CSV of inputs (six texts a row, an optional header) as a CSV of outcomes:
// a header, then for every record the six inputs, status ("converged",
// "noConvergence" or "error"), message and the nine texts. A malformed record
// gets status "error" and a message naming its line; the others still come out.
Report BatchReport(std::string_view csv);
