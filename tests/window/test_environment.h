// What the window tests are told on their command line: the calculator to
// start and where to leave screenshots.
#pragma once

#include <string>

// The path of Vintrel.exe, from --vintrel=PATH.
const std::string& VintrelPath();

// A path for the screenshot `name` (".png" added) in the directory given by
// --screenshots=DIR, or in the current directory.
std::string ScreenshotPath(const std::string& name);
