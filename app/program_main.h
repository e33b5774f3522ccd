// The program's main procedure: registers the common controls once more and runs
// the calculator window until the user closes it.
#pragma once

// Returns the process exit code, always 0, once the calculator window has closed
// (or failed to open).
int ProgramMain();
