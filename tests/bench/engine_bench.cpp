// Benchmarks of the engine: SolveThread on a common thread, a slow one and one
// that never converges; the two number conversions; and the floor of one pass
// of the iteration (its sines, cosines and divisions alone), so that the cost
// of a pass can be read against what the x87 unit needs for it.

#include <benchmark/benchmark.h>

#include "format_number.h"
#include "fpu_mode.h"
#include "parse_number.h"
#include "thread_solver.h"
#include "x87_math.h"

namespace {

void SolveCase(benchmark::State& state, ThreadInputs inputs)
{
    LoadProgramFpuMode();
    ThreadResults results;
    for (auto _ : state) {
        benchmark::DoNotOptimize(inputs);
        benchmark::DoNotOptimize(SolveThread(inputs, results));
        benchmark::DoNotOptimize(results);
    }
    state.counters["passes"] = results.passes;
    // Time per pass of the iteration, to compare with BM_PassFloor.
    state.counters["perPass"] = benchmark::Counter(static_cast<double>(state.iterations()) * results.passes,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The default 4-start Acme: 12 passes.
void BM_SolveDefault(benchmark::State& state) { SolveCase(state, {1.025L, 5, 4, 14.5L, 0.0004L, 0}); }
// A steep 3-start thread whose error shrinks by only 0.98 a pass: 1738 passes.
void BM_SolveSlowConvergence(benchmark::State& state) { SolveCase(state, {0.25L, 3, 3, 14.5L, 0.0004L, 0}); }
// A two-cycle that uses all 10001 passes.
void BM_SolveNoConvergence(benchmark::State& state) { SolveCase(state, {1, 1, 4, 14.5L, 0.0004L, 0}); }

// What a pass cannot do without: one sine, one cosine and its five divisions
// (cot x, k / d, 1 / sin^2 x, the slope, the step), chained as the iteration
// chains them so that nothing overlaps that could not overlap there.
void BM_PassFloor(benchmark::State& state)
{
    LoadProgramFpuMode();
    const long double k = 16.2L, s = 1.04L;
    for (auto _ : state) {
        long double x = 0.02L;
        for (int pass = 0; pass < 1000; ++pass) {
            const long double sinX = x87::Sin(x);
            const long double d = x87::Cos(x) / sinX - s;
            const long double quotient = k / d;
            const long double inverseSinSquared = 1 / (sinX * sinX);
            const long double slope = inverseSinSquared / (d * d);
            x -= (quotient / slope) * 0x1p-80L;  // keeps the chain without moving x
        }
        benchmark::DoNotOptimize(x);
    }
    state.counters["perPass"] = benchmark::Counter(static_cast<double>(state.iterations()) * 1000,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ParseNumber(benchmark::State& state)
{
    const char* const texts[] = {"1.025", "0.0004", "14.5", "12345678901234567890e-7", "&HFFFF&"};
    for (auto _ : state)
        for (const char* text : texts)
            benchmark::DoNotOptimize(ParseNumber(text));
    state.SetItemsProcessed(state.iterations() * 5);
}

void BM_FormatNumber(benchmark::State& state)
{
    LoadProgramFpuMode();
    const long double values[] = {1.14983453L, 13.9519263L, 0.0002L, 1234567.1234567L, 1e-9L};
    for (auto _ : state)
        for (long double value : values)
            benchmark::DoNotOptimize(FormatNumber(value, kMaskLength));
    state.SetItemsProcessed(state.iterations() * 5);
}

}  // namespace

BENCHMARK(BM_SolveDefault);
BENCHMARK(BM_SolveSlowConvergence);
BENCHMARK(BM_SolveNoConvergence);
BENCHMARK(BM_PassFloor);
BENCHMARK(BM_ParseNumber);
BENCHMARK(BM_FormatNumber);
BENCHMARK_MAIN();
