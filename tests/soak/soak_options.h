// What the soak is told on its command line: the calculator to start, how many
// calculations to run, the seed of its choices and where to leave screenshots.
#pragma once

#include <cstdint>
#include <string>

namespace soak {

struct Options {
    std::string vintrel;             // --vintrel=PATH of Vintrel.exe
    int calculations = 100;          // --calculations=N
    std::uint64_t seed = 0;          // --seed=S; without it, one drawn from the clock
    std::string screenshots = ".";   // --screenshots=DIR
};

const Options& TheOptions();

}  // namespace soak
