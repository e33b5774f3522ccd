// Screenshots for the window tests and the run command: the whole screen as
// the user sees it, saved as a PNG file.
#pragma once

#include <string>

namespace driver {

// Captures the screen and writes it to `path` (a Windows or Unix path) as a
// 24-bit PNG. Returns whether the file was written.
bool SaveScreenshot(const std::string& path);

}  // namespace driver
