// SolveThread: the key angle of a screw thread by the Vogel exact
// transcendental equation, and the three-wire measurements derived from it.
#pragma once

#include "extended.h"

// The six inputs of one calculation. Lengths share one unit (the window labels
// it inches); threadsPerInch is per that unit; the angle is in degrees.
template <class Real>
struct BasicThreadInputs {
    Real pitchDiameter = 0;
    Real threadsPerInch = 0;
    Real starts = 0;                 // used as entered, never rounded to a whole number
    Real axialPressureAngleDeg = 0;
    Real backlash = 0;
    Real actualWireDiameter = 0;     // 0 or less (or NaN): no actual wire
};

// What one calculation yields. Angles are in radians.
template <class Real>
struct BasicThreadResults {
    Real pitch = 0;                  // p = 1 / threadsPerInch
    Real lead = 0;                   // L = p * starts
    Real leadAngle = 0;              // lambda
    Real normalPressureAngle = 0;    // alpha_n
    Real piOverTwoStarts = 0;        // r = pi / (starts * 2)
    Real tanRatio = 0;               // s = tan alpha / tan lambda
    Real keyAngle = 0;               // theta, the root the iteration finds
    Real wireCenterDistance = 0;     // P: distance over wires less one wire diameter
    Real bestWireDiameter = 0;       // W
    Real distanceOverWires = 0;      // M = W + P
    Real backlashFactor = 0;         // G: reduction of M per unit of backlash
    Real newDistance = 0;            // M - backlash * G
    Real residual = 0;               // |F(theta)|
    bool residualHigh = false;       // residual > tolerance (a NaN residual is not)
    bool hasActualWire = false;      // actualWireDiameter > 0 (a NaN is not)
    Real actualWireCorrection = 0;   // delta, only with an actual wire
    Real actualDistance = 0;         // M + delta, only with an actual wire
    Real actualNewDistance = 0;      // (M + delta) - backlash * G, only with an actual wire
    int passes = 0;                  // passes the iteration made, 1 to 10001
};

using ThreadInputs = BasicThreadInputs<long double>;
using ThreadResults = BasicThreadResults<long double>;

enum class SolveStatus {
    Converged,      // the stopping test was met: the results are set
    NoConvergence,  // 10001 passes without meeting it, or a step that is not a number
};

// Most passes of the iteration (numbered 0 to 10000).
inline constexpr int kMaxSolverPasses = 10001;

// Solves for the key angle and derives every result. Pure and re-entrant: no
// state, no allocation, no input rejected in advance; NaNs and infinities follow
// the number format. On NoConvergence only `passes` (and the preliminaries) are
// meaningful and nothing is to be shown. Expects the program's FPU mode
// (fpu_mode.h) to be in force.
SolveStatus SolveThread(const ThreadInputs& inputs, ThreadResults& results);

// Radians to degrees as the results are shown: multiplied by 57.29577951308232.
long double RadiansToDegrees(long double radians);
