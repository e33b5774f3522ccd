// Entry of the window test programs: takes the calculator's path and the
// screenshot directory from the command line, then runs the tests.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_environment.h"

namespace {

struct TestEnvironment {
    std::string vintrel;
    std::string calc;
    std::string screenshots = ".";
};

TestEnvironment& Environment()
{
    static TestEnvironment environment;
    return environment;
}

// Takes "--name=value" from the arguments when `argument` is one.
bool TakeOption(const char* argument, const char* name, std::string& value)
{
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argument, name, length) != 0 || argument[length] != '=') {
        return false;
    }
    value = argument + length + 1;
    return true;
}

}  // namespace

const std::string& VintrelPath()
{
    return Environment().vintrel;
}

const std::string& CalcPath()
{
    return Environment().calc;
}

std::string ScreenshotPath(const std::string& name)
{
    return Environment().screenshots + "/" + name + ".png";
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        TakeOption(argv[i], "--vintrel", Environment().vintrel) ||
            TakeOption(argv[i], "--calc", Environment().calc) ||
            TakeOption(argv[i], "--screenshots", Environment().screenshots);
    }
    if (VintrelPath().empty()) {
        std::fprintf(stderr, "usage: %s --vintrel=PATH [--calc=PATH] [--screenshots=DIR] [gtest options]\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
