// SolveThread on the threads a shop meets and on the inputs that break the
// method: pass counts, the residual flag, the six-decimal figures a machinist
// reads, and the exact bits, which the Linux and Windows builds must share.

#include "thread_solver.h"

#include <cmath>
#include <string>

#include "extended_testing.h"
#include "format_number.h"
#include "parse_number.h"
#include "result_texts.h"
#include "thread_solver_impl.h"

namespace {

struct Typed {
    const char* pitchDiameter;
    const char* threadsPerInch;
    const char* starts;
    const char* pressureAngle;
    const char* backlash;
    const char* actualWire;
};

ThreadInputs InputsFrom(const Typed& typed)
{
    return {ParseNumber(typed.pitchDiameter), ParseNumber(typed.threadsPerInch), ParseNumber(typed.starts),
            ParseNumber(typed.pressureAngle),  ParseNumber(typed.backlash),       ParseNumber(typed.actualWire)};
}

// One converged case: what the window shows, and the bits behind the key figures.
struct ConvergedCase {
    const char* name;
    Typed typed;
    int passes;
    bool residualHigh;
    // The nine texts in write order (the two actual-wire texts first).
    std::array<const char*, kResultFieldCount> texts;
    long double keyAngle, bestWireDiameter, distanceOverWires, newDistance, actualDistance;
};

const ConvergedCase kConverged[] = {
    {"default Acme, 4 starts", {"1.025", "5", "4", "14.5", "0.0004", ""}, 12, false,
     {"", "", "0.200000 in.", "0.800000 in.", "13.951926 deg.", "0.100196 in.", "1.149849 in.", "1.148335 in.",
      "1.279117 deg."},
     0xb.6e27d0abc70f12fp-9L, 0xc.d33b93f4729ad73p-7L, 0x9.32e43de961c4bafp-3L, 0x9.2fca29efd8ccdbcp-3L, 0},
    {"60-degree single start with actual wire", {"0.5", "20", "1", "30", "0.0004", "0.03"}, 6, false,
     {"0.546721in.", "0.546028in.", "0.050000 in.", "0.050000 in.", "1.823166 deg.", "0.028850 in.",
      "0.543270 in.", "0.542577 in.", "0.088546 deg."},
     0xc.a8f7ce35d91ebd3p-13L, 0xe.c56fa413b87aabfp-9L, 0x8.b13c222c00c76fcp-4L, 0x8.ae65b84148a31afp-4L,
     0x8.bf5e6c5b112ccb3p-4L},
    {"actual wire smaller than the best", {"1.025", "5", "4", "14.5", "0.0004", "0.1"}, 12, false,
     {"1.148847in.", "1.147332in.", "0.200000 in.", "0.800000 in.", "13.951926 deg.", "0.100196 in.",
      "1.149849 in.", "1.148335 in.", "1.279117 deg."},
     0xb.6e27d0abc70f12fp-9L, 0xc.d33b93f4729ad73p-7L, 0x9.32e43de961c4bafp-3L, 0x9.2fca29efd8ccdbcp-3L,
     0x9.30d686741978e04p-3L},
    {"steep lead, residual high", {"0.25", "0.5", "1", "7.5", "0.0004", ""}, 104, true,
     {"", "", "2.000000 in.", "2.000000 in.", "68.560109 deg.", "0.709290 in.", "1.427326 in.", "1.427159 in.",
      "66.693301 deg."},
     0x9.4fe880d0487b4eep-3L, 0xb.593ffe8226cf4dfp-4L, 0xb.6b29da5fb4733b4p-3L, 0xb.6ad22270f9e16d3p-3L, 0},
    {"zero pressure angle: infinite actual distances", {"1.025", "5", "4", "0", "0.0004", "0.1"}, 13, false,
     {nullptr, nullptr, "0.200000 in.", "0.800000 in.",
      "13.951926 deg.", "0.097051 in.", "1.122318 in.", "1.051772 in.", "1.307777 deg."},
     0xb.afb836b8e52eb27p-9L, 0xc.6c2941bb1e7ac5bp-7L, 0x8.fa81cb988695f23p-3L, 0x8.6a07892a534e079p-3L,
     INFINITY},
    {"slow convergence that needs the 64-bit significand", {"0.25", "3", "3", "14.5", "0.0004", ""}, 1738, false,
     {"", "", "0.333333 in.", "1.000000 in.", "51.853974 deg.", "0.110811 in.", "0.391792 in.", "0.391163 in.",
      "17.834289 deg."},
     0x9.f5e6559ae815672p-5L, 0xe.2f0ae720eae4209p-7L, 0xc.898f9160644c8a2p-5L, 0xc.8468e466b47ba8p-5L, 0},
};

class ThreadSolverTest : public EngineTest {};

TEST_F(ThreadSolverTest, ConvergedCases)
{
    const std::string infinityText = std::string(19, '9') + std::string(980, '0') + ".000000in.";
    for (const ConvergedCase& c : kConverged) {
        SCOPED_TRACE(c.name);
        ThreadResults r;
        ASSERT_EQ(SolveStatus::Converged, SolveThread(InputsFrom(c.typed), r));
        EXPECT_EQ(c.passes, r.passes);
        EXPECT_EQ(c.residualHigh, r.residualHigh) << "residual " << HexOf(r.residual);
        const auto texts = FormatResultFields(r);
        for (int i = 0; i < kResultFieldCount; ++i) {
            // A null row entry stands for the infinity text.
            const std::string want = c.texts[i] ? c.texts[i] : infinityText;
            EXPECT_EQ(want, texts[i]) << kResultFieldFormats[i].label;
        }
        EXPECT_PRED_FORMAT2(ExtendedEq, c.keyAngle, r.keyAngle);
        EXPECT_PRED_FORMAT2(ExtendedEq, c.bestWireDiameter, r.bestWireDiameter);
        EXPECT_PRED_FORMAT2(ExtendedEq, c.distanceOverWires, r.distanceOverWires);
        EXPECT_PRED_FORMAT2(ExtendedEq, c.newDistance, r.newDistance);
        if (r.hasActualWire) {
            EXPECT_PRED_FORMAT2(ExtendedEq, c.actualDistance, r.actualDistance);
        }
    }
}

TEST_F(ThreadSolverTest, DefaultThreadIntermediates)
{
    ThreadResults r;
    ASSERT_EQ(SolveStatus::Converged, SolveThread(InputsFrom({"1.025", "5", "4", "14.5", "0.0004", ""}), r));
    EXPECT_EQ("14.089506", FormatNumber(RadiansToDegrees(r.normalPressureAngle), kMaskDegrees));
    EXPECT_EQ("1.040979", FormatNumber(r.tanRatio, kMaskLength));
    EXPECT_EQ("0.392699", FormatNumber(r.piOverTwoStarts, kMaskLength));
    EXPECT_EQ("1.049653", FormatNumber(r.wireCenterDistance, kMaskLength));
    EXPECT_EQ("3.786459", FormatNumber(r.backlashFactor, kMaskLength));
    EXPECT_FALSE(r.hasActualWire);
    // The last step was about 9.67e-16, the residual about 9.66e-16: just inside the tolerance.
    EXPECT_NEAR(9.66e-16L, r.residual, 0.01e-16L);
}

// Without backlash the reduced distances equal the plain ones; an actual wire
// of zero, below zero or not a number is no actual wire.
TEST_F(ThreadSolverTest, BacklashAndActualWireEdges)
{
    ThreadResults r;
    ASSERT_EQ(SolveStatus::Converged, SolveThread(InputsFrom({"1.025", "5", "4", "14.5", "0", "0.1"}), r));
    EXPECT_PRED_FORMAT2(ExtendedEq, r.distanceOverWires, r.newDistance);
    EXPECT_PRED_FORMAT2(ExtendedEq, r.actualDistance, r.actualNewDistance);
    for (long double none : {0.0L, -0.0L, -0.1L, static_cast<long double>(NAN)}) {
        ThreadInputs inputs = InputsFrom({"1.025", "5", "4", "14.5", "0.0004", ""});
        inputs.actualWireDiameter = none;
        ASSERT_EQ(SolveStatus::Converged, SolveThread(inputs, r));
        EXPECT_FALSE(r.hasActualWire) << HexOf(none);
    }
}

struct FailingCase {
    const char* name;
    Typed typed;
    int passes;
};

// Zero starts make r and s infinite, so the first step is not a number: that
// is a failure, never a converged NaN. The Acme on a 1-inch, 1-TPI blank
// settles into a two-cycle and never converges.
const FailingCase kFailing[] = {
    {"zero starts", {"1.025", "5", "0", "14.5", "0.0004", "0.1"}, 1},
    {"empty starts", {"1.025", "5", "", "14.5", "0.0004", ""}, 1},
    {"two-cycle", {"1", "1", "4", "14.5", "0.0004", ""}, kMaxSolverPasses},
};

TEST_F(ThreadSolverTest, FailuresAreNoConvergence)
{
    for (const FailingCase& c : kFailing) {
        SCOPED_TRACE(c.name);
        ThreadResults r;
        EXPECT_EQ(SolveStatus::NoConvergence, SolveThread(InputsFrom(c.typed), r));
        EXPECT_EQ(c.passes, r.passes);
    }
}

// The preliminaries of zero starts are still the finite figures they should be.
TEST_F(ThreadSolverTest, ZeroStartsPreliminaries)
{
    ThreadResults r;
    SolveThread(InputsFrom({"1.025", "5", "0", "14.5", "0.0004", ""}), r);
    EXPECT_PRED_FORMAT2(ExtendedEq, 0.2L, r.pitch);
    EXPECT_PRED_FORMAT2(ExtendedEq, 0.0L, r.lead);
    EXPECT_PRED_FORMAT2(ExtendedEq, 0.0L, r.leadAngle);
    EXPECT_TRUE(std::isinf(r.piOverTwoStarts));
}

// Inputs far outside any thread: every call ends within the pass limit, does
// not trap (exceptions are masked), and a converged key angle is a number.
TEST_F(ThreadSolverTest, HostileInputsEndQuietly)
{
    const long double hostile[] = {0.0L, -0.0L, -1.0L, 90.0L, -90.0L, 1e300L, -1e4000L, LDBL_MAX,
                                   LDBL_MIN, 0x1p-16440L, INFINITY, -INFINITY, NAN, 1e-300L, 360.0L};
    long double ThreadInputs::*const fields[] = {
        &ThreadInputs::pitchDiameter,         &ThreadInputs::threadsPerInch, &ThreadInputs::starts,
        &ThreadInputs::axialPressureAngleDeg, &ThreadInputs::backlash,       &ThreadInputs::actualWireDiameter,
    };
    int converged = 0;
    for (auto field : fields) {
        for (long double value : hostile) {
            ThreadInputs inputs{1.025L, 5.0L, 4.0L, 14.5L, 0.0004L, 0.1L};
            inputs.*field = value;
            ThreadResults r;
            const SolveStatus status = SolveThread(inputs, r);
            ASSERT_GE(r.passes, 1);
            ASSERT_LE(r.passes, kMaxSolverPasses);
            if (status == SolveStatus::Converged) {
                ++converged;
                EXPECT_TRUE(std::isfinite(r.keyAngle)) << HexOf(value);
            }
        }
    }
    EXPECT_GT(converged, 0);
}

// The same iteration in the 64-bit double format: its rounding noise keeps the
// steps of the slow case above the tolerance, and it never converges.
struct DoubleMath {
    static double Sin(double x) { return std::sin(x); }
    static double Cos(double x) { return std::cos(x); }
    static double Atan(double x) { return std::atan(x); }
};

TEST_F(ThreadSolverTest, DoubleFormatCannotMeetTheTolerance)
{
    BasicThreadInputs<double> inputs{0.25, 3.0, 3.0, 14.5, 0.0004, 0.0};
    BasicThreadResults<double> r;
    EXPECT_EQ(SolveStatus::NoConvergence, (solver_detail::Solve<double, DoubleMath>(inputs, r)));
    // The common threads still converge in double: the format, not the code, is the difference.
    BasicThreadInputs<double> acme{1.025, 5.0, 4.0, 14.5, 0.0004, 0.0};
    EXPECT_EQ(SolveStatus::Converged, (solver_detail::Solve<double, DoubleMath>(acme, r)));
}

}  // namespace
