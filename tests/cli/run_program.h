// Runs a program as a child process with given arguments and standard input,
// and collects its standard output, standard error and exit status, so that
// tests see exactly what a user or a script would.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ProgramRun {
    int exitStatus = -1;  // the exit code; natively 128 + n when signal n ended it
    std::string out;
    std::string err;
};

// Runs `program` (a path of this system) and waits for it. The streams pass
// through files, so no amount of output can block the child. Fails the current
// test (and returns exit status -1) when the child cannot be started.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      std::string_view input);
