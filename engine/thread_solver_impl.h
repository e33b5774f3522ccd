// The key-angle iteration and the wire results, written once for any number
// format. The program runs it in the extended format; the tests also run it in
// double to show why the format matters. Private to the engine and its tests.
//
// Method: after the preliminaries (lead angle, normal pressure angle, ratios),
// the iteration x' = x - F(x) / D(x) seeks the root of
//     F(x) = (r - x) - k / (cot x - s),
// with the slope D(x) = (-1 - (1 / sin^2 x) * k) / (cot x - s)^2. D divides the
// whole numerator, -1 included, so it is not F's derivative and the iteration
// converges linearly: with common threads each pass shrinks the error by a
// factor well below one (about -0.06 for a 4-start Acme), but on steep leads the
// factor nears -1 and thousands of passes are needed, where only the 64-bit
// significand keeps the steps' rounding noise below the tolerance.
// Special cases: no input is rejected; infinities and NaNs follow the format. A
// step that is not a number ends the iteration as NoConvergence, so NaN
// figures are never reported as a measurement.
#pragma once

#include "thread_solver.h"

namespace solver_detail {

// The constants of the method, each held in the format computed in.
template <class Real>
struct Constants {
    // pi as the 16-digit decimal 3.141592653589793 (not pi to full precision).
    static constexpr Real pi = static_cast<Real>(3.141592653589793L);
    // Degrees to radians and back, as 15- and 16-digit decimals.
    static constexpr Real degreesToRadians = static_cast<Real>(0.0174532925199433L);
    static constexpr Real radiansToDegrees = static_cast<Real>(57.29577951308232L);
    // Starting key angle: 1e-6 held in single precision and widened
    // (9.999999974752427e-7).
    static constexpr Real start = static_cast<Real>(1e-6f);
    // Stopping tolerance on the step, and the limit of a residual that is not
    // "high": 1e-15 held in single precision and widened (1.0000000036274937e-15).
    static constexpr Real tolerance = static_cast<Real>(1e-15f);
};

// The function F, and its slope D, for one set of preliminaries.
template <class Real, class Math>
struct KeyAngleFunction {
    Real r;  // pi / (2 n)
    Real s;  // tan alpha / tan lambda
    Real k;  // cot^2 lambda

    Real Value(Real x) const
    {
        const Real d = Math::Cos(x) / Math::Sin(x) - s;
        return (r - x) - k / d;
    }

    // F(x) and D(x) together: both use the same sine and cosine of x.
    void ValueAndSlope(Real x, Real& f, Real& slope) const
    {
        const Real sinX = Math::Sin(x);
        const Real d = Math::Cos(x) / sinX - s;
        f = (r - x) - k / d;
        const Real inverseSinSquared = 1 / (sinX * sinX);
        slope = (-1 - inverseSinSquared * k) / (d * d);
    }
};

template <class Real, class Math>
SolveStatus Solve(const BasicThreadInputs<Real>& in, BasicThreadResults<Real>& out)
{
    using C = Constants<Real>;
    out = BasicThreadResults<Real>{};

    // Preliminaries.
    const Real alpha = in.axialPressureAngleDeg * C::degreesToRadians;
    out.pitch = 1 / in.threadsPerInch;
    out.lead = out.pitch * in.starts;
    const Real lambda = Math::Atan(out.lead / (in.pitchDiameter * C::pi));
    out.leadAngle = lambda;
    out.piOverTwoStarts = C::pi / (in.starts * 2);
    const Real sinLambda = Math::Sin(lambda);
    const Real cosLambda = Math::Cos(lambda);
    const Real tanLambda = sinLambda / cosLambda;
    const Real tanAlpha = Math::Sin(alpha) / Math::Cos(alpha);
    out.normalPressureAngle = Math::Atan(cosLambda * tanAlpha);
    out.tanRatio = tanAlpha / tanLambda;
    const Real cotLambda = cosLambda / sinLambda;
    const KeyAngleFunction<Real, Math> function{out.piOverTwoStarts, out.tanRatio, cotLambda * cotLambda};

    // The iteration.
    Real x = C::start;
    Real theta = 0;
    bool converged = false;
    for (int pass = 0; pass < kMaxSolverPasses; ++pass) {
        Real f, slope;
        function.ValueAndSlope(x, f, slope);
        const Real next = x - f / slope;
        const Real step = next >= x ? next - x : x - next;
        out.passes = pass + 1;
        if (step != step)
            break;  // not a number: no root can follow
        if (step < C::tolerance) {
            theta = next;
            converged = true;
            break;
        }
        x = next;
    }
    if (!converged)
        return SolveStatus::NoConvergence;
    out.keyAngle = theta;

    // Results from the key angle.
    const Real sinTheta = Math::Sin(theta);
    const Real tanTheta = sinTheta / Math::Cos(theta);
    const Real tanLambdaSquared = tanLambda * tanLambda;
    out.wireCenterDistance = ((out.piOverTwoStarts - theta) / sinTheta) * in.pitchDiameter * tanLambdaSquared;
    out.bestWireDiameter = (sinTheta * out.wireCenterDistance) / (Math::Cos(out.normalPressureAngle) * sinLambda);
    out.distanceOverWires = out.bestWireDiameter + out.wireCenterDistance;
    const Real f = function.Value(theta);
    out.residual = f < 0 ? -f : f;
    out.residualHigh = out.residual > C::tolerance;
    out.backlashFactor = (1 / ((1 / tanTheta) * tanAlpha + tanLambda)) * (1 / sinTheta);
    out.newDistance = out.distanceOverWires - in.backlash * out.backlashFactor;
    out.hasActualWire = in.actualWireDiameter > 0;
    if (out.hasActualWire) {
        out.actualWireCorrection =
            (1 / Math::Sin(out.normalPressureAngle) + 1) * (in.actualWireDiameter - out.bestWireDiameter);
        out.actualDistance = out.distanceOverWires + out.actualWireCorrection;
        out.actualNewDistance = out.actualDistance - in.backlash * out.backlashFactor;
    }
    return SolveStatus::Converged;
}

}  // namespace solver_detail
