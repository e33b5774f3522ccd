// What the window tests are told on their command line: the calculator to
// start and where to leave screenshots.
#pragma once

#include <string>

// The path of Vintrel.exe, from --vintrel=PATH.
const std::string& VintrelPath();

// The path of the command-line calculator vintrel-calc.exe, from --calc=PATH
// (empty when not given).
const std::string& CalcPath();

// A path for the screenshot `name` (".png" added) in the directory given by
// --screenshots=DIR, or in the current directory.
std::string ScreenshotPath(const std::string& name);
