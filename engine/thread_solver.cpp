// SolveThread in the extended format, with the x87 unit's elementary functions.

#include "thread_solver.h"

#include "thread_solver_impl.h"
#include "x87_math.h"

namespace {

struct ExtendedMath {
    static long double Sin(long double x) { return x87::Sin(x); }
    static long double Cos(long double x) { return x87::Cos(x); }
    static long double Atan(long double x) { return x87::Atan(x); }
};

}  // namespace

SolveStatus SolveThread(const ThreadInputs& inputs, ThreadResults& results)
{
    return solver_detail::Solve<long double, ExtendedMath>(inputs, results);
}

long double RadiansToDegrees(long double radians)
{
    return radians * solver_detail::Constants<long double>::radiansToDegrees;
}
