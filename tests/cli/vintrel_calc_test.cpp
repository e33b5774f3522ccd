// vintrel-calc end to end: the real program run with arguments and standard
// input, its standard output, standard error and exit status checked whole.
// In the Windows build this is vintrel-calc.exe under Wine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_program.h"

namespace {

// Set by the build: the program under test.
const std::string kProgram = VINTREL_CALC_PROGRAM;

struct EndToEndCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string input;  // standard input
    int exitStatus;
    std::string out;
    std::string err;
};

void Check(const EndToEndCase& c)
{
    SCOPED_TRACE(c.name);
    const ProgramRun run = RunProgram(kProgram, c.arguments, c.input);
    EXPECT_EQ(c.exitStatus, run.exitStatus);
    EXPECT_EQ(c.out, run.out);
    EXPECT_EQ(c.err, run.err);
}

// The figures of the default inputs, as the window shows them.
const std::string kDefaultLines =
    "Pitch:               0.200000 in.\n"
    "Lead:                0.800000 in.\n"
    "Lead angle:          13.951926 deg.\n"
    "Key angle:           1.279117 deg.\n"
    "Best wire diameter:  0.100196 in.\n"
    "Distance over wires: 1.149849 in.\n"
    "New distance:        1.148335 in.\n";

const std::string kHighResidual = "High residual error, check results!\n";
const std::string kOutOfRange = "Inputs out of range!\n";

const EndToEndCase kCalculationCases[] = {
    {"default inputs", {}, "", 0, kDefaultLines, ""},
    {"default inputs spelled out, actual wire 0.1",
     {"--pitch-diameter", "1.025", "--tpi=5", "--starts", "4", "--pressure-angle=14.5", "--backlash", "0.0004",
      "--actual-wire", "0.1"},
     "", 0,
     kDefaultLines +
         "Actual distance:     1.148847in.\n"
         "Actual new distance: 1.147332in.\n",
     ""},
    {"fine thread with actual wire",
     {"--pitch-diameter=0.5", "--tpi=20", "--starts=1", "--pressure-angle=30", "--actual-wire=0.03"}, "", 0,
     "Pitch:               0.050000 in.\n"
     "Lead:                0.050000 in.\n"
     "Lead angle:          1.823166 deg.\n"
     "Key angle:           0.088546 deg.\n"
     "Best wire diameter:  0.028850 in.\n"
     "Distance over wires: 0.543270 in.\n"
     "New distance:        0.542577 in.\n"
     "Actual distance:     0.546721in.\n"
     "Actual new distance: 0.546028in.\n",
     ""},
    {"steep lead: figures and the high-residual warning",
     {"--pitch-diameter", "0.25", "--tpi", "0.5", "--starts", "1", "--pressure-angle", "7.5"}, "", 0,
     "Pitch:               2.000000 in.\n"
     "Lead:                2.000000 in.\n"
     "Lead angle:          68.560109 deg.\n"
     "Key angle:           66.693301 deg.\n"
     "Best wire diameter:  0.709290 in.\n"
     "Distance over wires: 1.427326 in.\n"
     "New distance:        1.427159 in.\n",
     kHighResidual},
    {"no convergence: no figures", {"--pitch-diameter", "1", "--tpi", "1"}, "", 1, "", kOutOfRange},
    {"zero starts: a NaN step is no convergence", {"--starts=0"}, "", 1, "", kOutOfRange},
    {"a backlash of -1 read as the next argument", {"--backlash", "-1"}, "", 0,
     "Pitch:               0.200000 in.\n"
     "Lead:                0.800000 in.\n"
     "Lead angle:          13.951926 deg.\n"
     "Key angle:           1.279117 deg.\n"
     "Best wire diameter:  0.100196 in.\n"
     "Distance over wires: 1.149849 in.\n"
     "New distance:        4.936308 in.\n",
     ""},
    {"texts read as the window reads them", {"--pitch-diameter", "1.025 in.", "--actual-wire=abc"}, "", 0,
     kDefaultLines, ""},
};

TEST(VintrelCalcTest, Calculations)
{
    for (const EndToEndCase& c : kCalculationCases)
        Check(c);
}

TEST(VintrelCalcTest, BothSpellingsOfANegativeText)
{
    const ProgramRun separate = RunProgram(kProgram, {"--backlash", "-1"}, "");
    const ProgramRun attached = RunProgram(kProgram, {"--backlash=-1"}, "");
    EXPECT_EQ(separate.out, attached.out);
    EXPECT_EQ(0, attached.exitStatus);
}

TEST(VintrelCalcTest, Json)
{
    const EndToEndCase noConvergence = {
        "json, no convergence",
        {"--json", "--pitch-diameter=1", "--tpi=1", "--actual-wire", "1,5\""},
        "",
        1,
        "{\n"
        "  \"status\": \"noConvergence\",\n"
        "  \"message\": \"Inputs out of range!\",\n"
        "  \"passes\": 10001,\n"
        "  \"inputs\": {\n"
        "    \"pitchDiameter\": \"1\",\n"
        "    \"threadsPerInch\": \"1\",\n"
        "    \"starts\": \"4\",\n"
        "    \"axialPressureAngleDeg\": \"14.5\",\n"
        "    \"backlash\": \"0.0004\",\n"
        "    \"actualWireDiameter\": \"1,5\\\"\"\n"
        "  },\n"
        "  \"fields\": null,\n"
        "  \"values\": null\n"
        "}\n",
        kOutOfRange,
    };
    Check(noConvergence);

    // A converged object: the figures, the pass count and the absent actual wire.
    const ProgramRun run = RunProgram(kProgram, {"--json"}, "");
    EXPECT_EQ(0, run.exitStatus);
    EXPECT_EQ("", run.err);
    for (const char* line : {
             "{\n  \"status\": \"converged\",\n  \"message\": null,\n  \"passes\": 12,\n",
             "\n  \"fields\": {\n    \"pitch\": \"0.200000 in.\",\n    \"lead\": \"0.800000 in.\",\n",
             "\n    \"keyAngle\": \"1.279117 deg.\",\n",
             "\n    \"newDistance\": \"1.148335 in.\",\n    \"actualDistance\": \"\",\n",
             "\n    \"pitch\": 0.200000000000000000003,\n",
             "\n    \"actualNewDistance\": null,\n    \"residualHigh\": false,\n"
             "    \"hasActualWire\": false\n  }\n}\n",
         })
        EXPECT_NE(std::string::npos, run.out.find(line)) << "missing:\n" << line << "\nin:\n" << run.out;

    const ProgramRun steep = RunProgram(
        kProgram, {"--json", "--pitch-diameter=0.25", "--tpi=0.5", "--starts=1", "--pressure-angle=7.5"}, "");
    EXPECT_EQ(0, steep.exitStatus);
    EXPECT_EQ(kHighResidual, steep.err);
    EXPECT_NE(std::string::npos,
              steep.out.find("\"message\": \"High residual error, check results!\",\n  \"passes\": 104,\n"))
        << steep.out;
    EXPECT_NE(std::string::npos, steep.out.find("\"residualHigh\": true,\n")) << steep.out;
}

const std::string kBatchHeader =
    "pitchDiameter,threadsPerInch,starts,axialPressureAngleDeg,backlash,actualWireDiameter,status,message,"
    "pitch,lead,leadAngle,keyAngle,bestWireDiameter,distanceOverWires,newDistance,actualDistance,"
    "actualNewDistance\r\n";

const std::string kDefaultRowFigures =
    "0.200000 in.,0.800000 in.,13.951926 deg.,1.279117 deg.,0.100196 in.,1.149849 in.,1.148335 in.";

const EndToEndCase kBatchCases[] = {
    {"header, quoted comma, malformed row in the middle, no convergence, high residual",
     {"--batch"},
     "Pitch diameter,TPI,Starts,Angle,Backlash,Actual wire\r\n"
     "1.025,5,4,14.5,0.0004,\"0.1,x\"\r\n"
     "1.025,5,4,14.5\r\n"
     "1,1,4,14.5,0.0004,\r\n"
     "0.25,0.5,1,7.5,0.0004,\r\n",
     1,
     kBatchHeader + "1.025,5,4,14.5,0.0004,\"0.1,x\",converged,," + kDefaultRowFigures +
         ",1.148847in.,1.147332in.\r\n"
         "1.025,5,4,14.5,,,error,\"line 3: 4 fields, expected 6\",,,,,,,,,\r\n"
         "1,1,4,14.5,0.0004,,noConvergence,Inputs out of range!,,,,,,,,,\r\n"
         "0.25,0.5,1,7.5,0.0004,,converged,\"High residual error, check results!\",2.000000 in.,"
         "2.000000 in.,68.560109 deg.,66.693301 deg.,0.709290 in.,1.427326 in.,1.427159 in.,,\r\n",
     "vintrel-calc: 2 of 4 rows gave no figures (see their status and message)\n"},
    {"quote left open in the middle, LF lines, no header",
     {"--batch"},
     "1.025,5,4,14.5,0.0004,\n"
     "1.025,\"5,4,14.5,0.0004,\n"
     "0.5,20,1,30,0.0004,0.03\n",
     1,
     kBatchHeader + "1.025,5,4,14.5,0.0004,,converged,," + kDefaultRowFigures +
         ",,\r\n"
         "1.025,,,,,,error,line 2: quoted field not closed,,,,,,,,,\r\n"
         "0.5,20,1,30,0.0004,0.03,converged,,0.050000 in.,0.050000 in.,1.823166 deg.,0.088546 deg.,"
         "0.028850 in.,0.543270 in.,0.542577 in.,0.546721in.,0.546028in.\r\n",
     "vintrel-calc: 1 of 3 rows gave no figures (see their status and message)\n"},
    {"own output header read back as a header", {"--batch"},
     kBatchHeader.substr(0, kBatchHeader.find(",status")) + "\r\n1.025,5,4,14.5,0.0004,\r\n", 0,
     kBatchHeader + "1.025,5,4,14.5,0.0004,,converged,," + kDefaultRowFigures + ",,\r\n", ""},
    {"empty input", {"--batch"}, "", 0, kBatchHeader, ""},
};

TEST(VintrelCalcTest, Batch)
{
    for (const EndToEndCase& c : kBatchCases)
        Check(c);
}

struct UsageCase {
    std::vector<std::string> arguments;
    std::string err;
};

const UsageCase kUsageCases[] = {
    {{"--bogus"}, "vintrel-calc: unknown option '--bogus' (see --help)\n"},
    {{"5"}, "vintrel-calc: unexpected argument '5' (see --help)\n"},
    {{"--tpi"}, "vintrel-calc: option '--tpi' needs a text (see --help)\n"},
    {{"--batch", "--starts=2"},
     "vintrel-calc: option '--batch' reads its inputs from standard input, not from options (see --help)\n"},
};

TEST(VintrelCalcTest, UsageErrorsAndHelp)
{
    for (const UsageCase& c : kUsageCases)
        Check({"usage error", c.arguments, "", 2, "", c.err});

    const ProgramRun help = RunProgram(kProgram, {"--help"}, "");
    EXPECT_EQ(0, help.exitStatus);
    EXPECT_EQ("", help.err);
    EXPECT_TRUE(help.out.starts_with("Usage: vintrel-calc")) << help.out;
    EXPECT_NE(std::string::npos, help.out.find("--pitch-diameter T")) << help.out;
}

}  // namespace
