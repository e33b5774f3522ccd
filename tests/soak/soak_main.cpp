// Entry of the soak program: reads its options, prints the seed so that a run
// can be repeated, then runs the soak as a GoogleTest test.
//
//   soak_test --vintrel=PATH [--calculations=N] [--seed=S] [--screenshots=DIR]

#include <gtest/gtest.h>

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "soak_options.h"

namespace soak {
namespace {

Options& MutableOptions()
{
    static Options options;
    return options;
}

// The value of "--name=value" when `argument` is that option.
const char* OptionValue(const char* argument, const char* name)
{
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argument, name, length) != 0 || argument[length] != '=') {
        return nullptr;
    }
    return argument + length + 1;
}

// A seed for a run that was given none: the clock's finest reading.
std::uint64_t SeedFromClock()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<std::uint64_t>(counter.QuadPart) ^ (GetTickCount64() << 32U);
}

}  // namespace

const Options& TheOptions()
{
    return MutableOptions();
}

}  // namespace soak

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    soak::Options& options = soak::MutableOptions();
    bool seeded = false;
    for (int i = 1; i < argc; ++i) {
        if (const char* value = soak::OptionValue(argv[i], "--vintrel")) {
            options.vintrel = value;
        } else if (const char* count = soak::OptionValue(argv[i], "--calculations")) {
            options.calculations = std::atoi(count);
        } else if (const char* seed = soak::OptionValue(argv[i], "--seed")) {
            options.seed = std::strtoull(seed, nullptr, 10);
            seeded = true;
        } else if (const char* directory = soak::OptionValue(argv[i], "--screenshots")) {
            options.screenshots = directory;
        } else {
            std::fprintf(stderr, "soak_test: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (options.vintrel.empty() || options.calculations < 1) {
        std::fprintf(stderr,
                     "usage: %s --vintrel=PATH [--calculations=N] [--seed=S] [--screenshots=DIR] [gtest options]\n",
                     argv[0]);
        return 2;
    }
    if (!seeded) {
        options.seed = soak::SeedFromClock();
    }
    std::printf("soak: %d calculations, seed %" PRIu64 " (repeat with --seed=%" PRIu64 ")\n",
                options.calculations, options.seed, options.seed);
    std::fflush(stdout);
    return RUN_ALL_TESTS();
}
