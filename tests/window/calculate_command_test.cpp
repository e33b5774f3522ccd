// "CALC" and "HELP" on the real Vintrel.exe, pressed as a user presses them:
// the results read back from the window, the message boxes read while they
// are up, the keyboard's way to the button, and the focus kept across a switch
// to another application. The window's texts must equal the engine's own texts
// for the same inputs, so that the window and the command line cannot drift.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calculator_driver.h"
#include "csv.h"
#include "run_program.h"
#include "screenshot.h"
#include "test_environment.h"
#include "window_driver.h"

namespace {

using calculator::Inputs;
using calculator::ResultTexts;
using calculator::Session;

// The two calculation messages: caption and text.
struct BoxText {
    const char* caption;
    const char* text;
};
constexpr BoxText kFailureBox{"Convergence Failure", "Inputs out of range!"};
constexpr BoxText kWarningBox{"Error", "High residual error, check results!"};

// The nine texts in ResultField order: actual distance, actual new distance,
// pitch, lead, lead angle, best wire, distance over wires, new distance, key angle.
const ResultTexts kDefaultResults{
    "", "", "0.200000 in.", "0.800000 in.", "13.951926 deg.", "0.100196 in.", "1.149849 in.",
    "1.148335 in.", "1.279117 deg.",
};
const ResultTexts kDefaultWithActualWire{
    "1.148847in.", "1.147332in.", "0.200000 in.", "0.800000 in.", "13.951926 deg.", "0.100196 in.",
    "1.149849 in.", "1.148335 in.", "1.279117 deg.",
};

Inputs With(std::string Inputs::*field, std::string text, Inputs inputs = {})
{
    inputs.*field = std::move(text);
    return inputs;
}

// The default results with no backlash: the new distance is the distance over wires.
const ResultTexts kNoBacklashResults{
    "", "", "0.200000 in.", "0.800000 in.", "13.951926 deg.", "0.100196 in.", "1.149849 in.",
    "1.149849 in.", "1.279117 deg.",
};

// How an infinite length reads, before its suffix: 19 nines, 980 zeros, six decimals.
const std::string kInfiniteLength = std::string(19, '9') + std::string(980, '0') + ".000000";

// A pitch diameter of 100000 characters: blanks, then the number at the very end.
std::string LongPitchDiameter()
{
    return std::string(100000 - 5, ' ') + "1.025";
}

// What a calculation leads to, known by hand or left to the engine's word
// (inputs far outside a thread's range, where any outcome is acceptable
// as long as the window and the engine agree).
enum class Outcome { Shows, Warns, Fails, AsTheEngineSays };

// One calculation of the sequence below. `shown` is what the window must read
// afterwards when the figures are known by hand; a row that fails to converge
// must leave the previous row's texts in place.
struct CalculationRow {
    const char* name;
    Inputs inputs;
    Outcome outcome;
    std::optional<ResultTexts> shown;
};

// Run in this order in one window, so that each row starts from the texts the
// row before it left.
std::vector<CalculationRow> CalculationRows()
{
    Inputs steep{"0.25", "0.5", "1", "7.5", "0.0004", ""};
    Inputs fine{"0.5", "20", "1", "30", "0.0004", "0.03"};
    Inputs cycling{"1", "1", "4", "14.5", "0.0004", ""};
    return {
        {"default inputs", {}, Outcome::Shows, kDefaultResults},
        {"actual wire 0.1", With(&Inputs::actualWire, "0.1"), Outcome::Shows, kDefaultWithActualWire},
        {"fine thread with actual wire", fine, Outcome::Shows,
         ResultTexts{"0.546721in.", "0.546028in.", "0.050000 in.", "0.050000 in.", "1.823166 deg.", "0.028850 in.",
                     "0.543270 in.", "0.542577 in.", "0.088546 deg."}},
        {"steep lead warns, then shows", steep, Outcome::Warns,
         ResultTexts{"", "", "2.000000 in.", "2.000000 in.", "68.560109 deg.", "0.709290 in.", "1.427326 in.",
                     "1.427159 in.", "66.693301 deg."}},
        {"no convergence leaves the fields", cycling, Outcome::Fails, std::nullopt},
        {"zero starts cannot be solved", With(&Inputs::starts, "0"), Outcome::Fails, std::nullopt},
        {"actual wire again", With(&Inputs::actualWire, "0.1"), Outcome::Shows, kDefaultWithActualWire},
        {"actual wire emptied again", {}, Outcome::Shows, kDefaultResults},
        {"actual wire below 0 shows none", With(&Inputs::actualWire, "-0.1"), Outcome::Shows, kDefaultResults},
        {"number followed by a unit", With(&Inputs::pitchDiameter, "1.025 in."), Outcome::Shows, kDefaultResults},
        {"blank before the number", With(&Inputs::threadsPerInch, " 5"), Outcome::Shows, kDefaultResults},
        {"letters after the number", With(&Inputs::starts, "4abc"), Outcome::Shows, kDefaultResults},
        {"hexadecimal starts", With(&Inputs::starts, "&H4"), Outcome::Shows, kDefaultResults},
        {"exponent with d", With(&Inputs::backlash, "4d-4"), Outcome::Shows, kDefaultResults},
        {"100000-character box read whole", With(&Inputs::pitchDiameter, LongPitchDiameter()), Outcome::Shows,
         kDefaultResults},
        {"empty backlash is none", With(&Inputs::backlash, ""), Outcome::Shows, kNoBacklashResults},
        {"zero backlash", With(&Inputs::backlash, "0"), Outcome::Shows, kNoBacklashResults},
        {"zero pressure angle, infinite actual distances",
         With(&Inputs::pressureAngle, "0", With(&Inputs::actualWire, "0.1")), Outcome::Shows,
         ResultTexts{kInfiniteLength + "in.", kInfiniteLength + "in.", "0.200000 in.", "0.800000 in.",
                     "13.951926 deg.", "0.097051 in.", "1.122318 in.", "1.051772 in.", "1.307777 deg."}},
        {"pressure angle that is no number reads as 0", With(&Inputs::pressureAngle, "abc"), Outcome::Shows,
         ResultTexts{"", "", "0.200000 in.", "0.800000 in.", "13.951926 deg.", "0.097051 in.", "1.122318 in.",
                     "1.051772 in.", "1.307777 deg."}},
        {"empty pitch diameter", With(&Inputs::pitchDiameter, ""), Outcome::AsTheEngineSays, std::nullopt},
        {"zero threads per inch", With(&Inputs::threadsPerInch, "0"), Outcome::AsTheEngineSays, std::nullopt},
        {"right-angle pressure angle", With(&Inputs::pressureAngle, "90"), Outcome::AsTheEngineSays, std::nullopt},
        {"overflowing number", With(&Inputs::pitchDiameter, "1e5000"), Outcome::AsTheEngineSays, std::nullopt},
        {"negative pitch diameter", With(&Inputs::pitchDiameter, "-1.025"), Outcome::AsTheEngineSays, std::nullopt},
        {"fractional starts", With(&Inputs::starts, "2.5"), Outcome::AsTheEngineSays, std::nullopt},
        {"default inputs at the end", {}, Outcome::Shows, kDefaultResults},
    };
}

// What the engine's own answer for the inputs leads to.
Outcome OutcomeOf(const calculator::Expected& expected)
{
    if (expected.status == SolveStatus::NoConvergence) {
        return Outcome::Fails;
    }
    return expected.residualHigh ? Outcome::Warns : Outcome::Shows;
}

// The box an outcome shows, if any.
std::optional<BoxText> BoxFor(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Fails: return kFailureBox;
    case Outcome::Warns: return kWarningBox;
    default: return std::nullopt;
    }
}

std::string Show(const ResultTexts& texts)
{
    std::string shown;
    for (const ResultFieldFormat& format : kResultFieldFormats) {
        shown += std::string(format.name) + "=\"" + texts[static_cast<std::size_t>(format.field)] + "\" ";
    }
    return shown;
}

void ExpectCalculationBox(const driver::MessageBoxView& box, bool windowEnabled, BoxText expected)
{
    EXPECT_EQ(box.caption, expected.caption);
    EXPECT_EQ(box.text, expected.text);
    EXPECT_TRUE(box.hasIcon) << "the error icon";
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(windowEnabled) << "the calculator must take no input while \"" << expected.caption << "\" is up";
}

class CalculateCommand : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session_.Start(VintrelPath())) << "no window \"Vintrel\" appeared"; }

    void TearDown() override
    {
        if (session_.Process().Running()) {
            EXPECT_EQ(session_.Close(), std::optional<DWORD>(0)) << "closing after the test's calculations";
        }
    }

    ResultTexts Results()
    {
        auto results = session_.ReadResults();
        EXPECT_TRUE(results) << "the result fields did not answer";
        return results.value_or(ResultTexts{});
    }

    HWND Control(int id) const { return session_.Control(id); }
    int FocusId() const { return GetDlgCtrlID(driver::FocusOf(session_.ThreadId())); }

    // Presses Tab `times` times, each once the one before has moved the focus.
    void Tab(int times)
    {
        for (int tab = 0; tab < times; ++tab) {
            const HWND before = driver::FocusOf(session_.ThreadId());
            ASSERT_TRUE(driver::PostKey(session_.ThreadId(), VK_TAB));
            ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusOf(session_.ThreadId()) != before; }));
        }
    }

    Session session_;
};

TEST_F(CalculateCommand, EdgeCasesAndMessyTextsShowTheEnginesTexts)
{
    ResultTexts before = Results();
    for (const CalculationRow& row : CalculationRows()) {
        SCOPED_TRACE(row.name);
        const calculator::Expected expected = calculator::ExpectedFor(row.inputs);
        const calculator::CalcOutcome outcome = session_.Calculate(row.inputs);
        ASSERT_TRUE(outcome.finished) << "the calculation did not end";

        // Boxes: as the engine's outcome calls for, and as the row knows it.
        const Outcome engineOutcome = OutcomeOf(expected);
        if (row.outcome != Outcome::AsTheEngineSays) {
            EXPECT_EQ(engineOutcome, row.outcome) << "the engine's outcome is not the row's";
        }
        const std::optional<BoxText> box = BoxFor(engineOutcome);
        ASSERT_EQ(outcome.boxes.size(), box ? 1u : 0u);
        if (box) {
            ExpectCalculationBox(outcome.boxes[0], outcome.windowEnabledDuringBox[0], *box);
            EXPECT_EQ(outcome.resultsDuringBox[0], before) << "the fields changed before the box was answered";
        }

        const ResultTexts after = Results();
        const ResultTexts& wanted = expected.status == SolveStatus::Converged ? expected.texts : before;
        EXPECT_EQ(after, wanted) << "\n window: " << Show(after) << "\n wanted: " << Show(wanted);
        if (row.shown) {
            EXPECT_EQ(after, *row.shown) << "\n window: " << Show(after) << "\n wanted: " << Show(*row.shown);
        }
        EXPECT_EQ(session_.ReadInputs().value_or(Inputs{}).pitchDiameter, row.inputs.pitchDiameter)
            << "the inputs stay as typed";
        before = after;
    }
}

// The same rows through vintrel-calc --batch: for every row the window shows
// exactly what the command line prints, figures and message alike.
TEST_F(CalculateCommand, WindowShowsWhatTheCommandLinePrints)
{
    ASSERT_FALSE(CalcPath().empty()) << "no --calc=PATH given";
    const std::vector<CalculationRow> rows = CalculationRows();
    std::string csv;
    const std::string_view header[] = {"pitchDiameter", "threadsPerInch", "starts",
                                       "axialPressureAngleDeg", "backlash", "actualWireDiameter"};
    AppendCsvRecord(csv, header);
    for (const CalculationRow& row : rows) {
        std::vector<std::string_view> fields;
        for (const calculator::InputBox& box : calculator::kInputBoxes) {
            fields.push_back(row.inputs.*box.text);
        }
        AppendCsvRecord(csv, fields);
    }
    const ProgramRun run = RunProgram(CalcPath(), {"--batch"}, csv);
    const std::vector<CsvRecord> printed = ReadCsv(run.out);
    ASSERT_EQ(printed.size(), rows.size() + 1) << run.err;

    // Columns by name: status, message and the nine texts.
    const std::vector<std::string>& columns = printed.front().fields;
    const auto column = [&](std::string_view name) {
        const auto at = std::find(columns.begin(), columns.end(), name);
        return static_cast<std::size_t>(at - columns.begin());
    };
    ResultTexts before = Results();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        const std::vector<std::string>& line = printed[i + 1].fields;
        ASSERT_EQ(line.size(), columns.size());
        const calculator::CalcOutcome outcome = session_.Calculate(rows[i].inputs);
        ASSERT_TRUE(outcome.finished) << "the calculation did not end";
        const std::string& message = line[column("message")];
        if (message.empty()) {
            EXPECT_TRUE(outcome.boxes.empty()) << "a box the command line did not report";
        } else {
            ASSERT_EQ(outcome.boxes.size(), 1u);
            EXPECT_EQ(outcome.boxes[0].text, message);
        }
        const ResultTexts after = Results();
        if (line[column("status")] == "converged") {
            for (const ResultFieldFormat& format : kResultFieldFormats) {
                EXPECT_EQ(after[static_cast<std::size_t>(format.field)], line[column(format.name)]) << format.label;
            }
        } else {
            EXPECT_EQ(line[column("status")], "noConvergence");
            EXPECT_EQ(after, before) << "the fields changed although nothing converged";
        }
        before = after;
    }
}

TEST_F(CalculateCommand, FailureBoxBlocksTheWindowUntilAnsweredAndKeepsTheResults)
{
    ASSERT_TRUE(session_.PressCalc().finished);
    const ResultTexts before = Results();
    ASSERT_EQ(before, kDefaultResults);

    ASSERT_TRUE(session_.SetInputs(Inputs{"1", "1", "4", "14.5", "0.0004", ""}));
    driver::Press press(Control(IDC_CALC));
    const auto box = driver::WaitForMessageBox(session_.ProcessId(), session_.Window());
    ASSERT_TRUE(box);
    ExpectCalculationBox(*box, IsWindowEnabled(session_.Window()) != FALSE, kFailureBox);
    EXPECT_TRUE(driver::SaveScreenshot(ScreenshotPath("error-box")));

    // A click on "CALC" while the box is up must not start a second calculation.
    ASSERT_TRUE(driver::ClickWithMouse(Control(IDC_CALC)));
    driver::Settle(500);
    EXPECT_EQ(driver::TopLevelWindows(session_.ProcessId(), calculator::kDialogClass).size(), 2u)
        << "a second box came up";
    EXPECT_TRUE(IsWindow(box->box));

    ASSERT_TRUE(driver::AnswerOk(*box));
    ASSERT_TRUE(press.WaitDone());
    EXPECT_TRUE(IsWindowEnabled(session_.Window()));
    EXPECT_EQ(Results(), before);
    driver::Settle(300);
    EXPECT_EQ(driver::TopLevelWindows(session_.ProcessId(), calculator::kDialogClass).size(), 1u)
        << "a box came up after the first one was answered";
}

TEST_F(CalculateCommand, HelpBoxShowsTheHelpTextAndBlocksTheWindow)
{
    // nullptr: a line of our own wording, checked for what it must say.
    constexpr std::array<const char*, 36> kHelpLines{
        "Vintrel- ver 1.01",
        nullptr,
        "",
        "",
        "",
        "",
        "",
        "Given the necessary inputs, this program uses the Vogel",
        "exact trancendental equation to calculate the key angle",
        "for the thread, and from that, the best measuring wire",
        "size and distance over the wires for the desired pitch",
        "diameter.",
        "",
        "The axial pressure angle is generally 1/2 the included",
        "angle of the thread, say 30 degrees for the typical 60",
        "degree thread, 14.5 degrees for a 29 degree acme and 15",
        "degrees for a 30 degree trapezoidal metric thread.",
        "",
        "Results are exact only for exact size wires. Close wire",
        "sizes can be entered- calc again to see the results.",
        "Wire sizes are not checked for interference.",
        "",
        "Note that when threads are cut with a v-disk style",
        "tool such as a grinding wheel, milling cutter or with",
        "a whirling cutter, the thread surfaces will be curved to",
        "varying degrees. Threads cut with a single point tool on",
        "the lathe will have straight geometry, an Archimedean",
        "screw, if the tool is not tilted. The program results are",
        "universal. (hint- it also works if you read inches as mm)",
        "",
        "This program is not intended to be a complete solution",
        "to thread specification and measurement, but a high",
        "accuracy cross-check for other formulas and programs",
        "",
        nullptr,
        nullptr,
    };

    driver::Press press(Control(IDC_HELP_BUTTON));
    const auto box = driver::WaitForMessageBox(session_.ProcessId(), session_.Window());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Help/About");
    EXPECT_FALSE(box->hasIcon);
    EXPECT_EQ(box->buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(IsWindowEnabled(session_.Window())) << "the calculator takes no input while the help is up";
    EXPECT_TRUE(driver::SaveScreenshot(ScreenshotPath("help-box")));

    const std::string& text = box->text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 35);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), kHelpLines.size()) << text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (kHelpLines[i] != nullptr) {
            EXPECT_EQ(line, kHelpLines[i]) << "line " << i + 1;
            continue;
        }
        EXPECT_FALSE(line.empty()) << "line " << i + 1;
        EXPECT_NE(line.back(), ' ') << "line " << i + 1;
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; }))
            << "line " << i + 1;
    }
    EXPECT_NE(lines[1].find("warranty"), std::string::npos) << "line 2 disclaims a warranty";
    EXPECT_NE((lines[34] + " " + lines[35]).find("Vogel"), std::string::npos) << "the closing lines credit Vogel";

    ASSERT_TRUE(driver::AnswerOk(*box));
    ASSERT_TRUE(press.WaitDone());
    EXPECT_TRUE(IsWindowEnabled(session_.Window()));
    EXPECT_EQ(Results(), ResultTexts{}) << "the help changes no field";
}

TEST_F(CalculateCommand, TabToCalcThenEnterCalculatesAsAClickDoes)
{
    ASSERT_EQ(FocusId(), IDC_PITCH_DIAMETER);
    Tab(5);
    ASSERT_EQ(FocusId(), IDC_CALC);
    ASSERT_TRUE(driver::PostKey(session_.ThreadId(), VK_RETURN));
    EXPECT_TRUE(driver::WaitUntil([&] { return Results() == kDefaultResults; })) << Show(Results());
    EXPECT_EQ(FocusId(), IDC_CALC);
}

TEST_F(CalculateCommand, SpaceOnTheFocusedButtonCalculates)
{
    ASSERT_TRUE(driver::WriteText(Control(IDC_ACTUAL_WIRE), "0.1"));
    ASSERT_TRUE(driver::ClickWithMouse(Control(IDC_STARTS)));
    ASSERT_TRUE(driver::WaitUntil([&] { return FocusId() == IDC_STARTS; }));
    Tab(4);  // to pressure angle, TPI, backlash, CALC
    ASSERT_EQ(FocusId(), IDC_CALC);
    ASSERT_TRUE(driver::SendKey(session_.Window(), VK_SPACE));
    EXPECT_TRUE(driver::WaitUntil([&] { return Results() == kDefaultWithActualWire; })) << Show(Results());
}

TEST_F(CalculateCommand, MouseClickOnCalcCalculates)
{
    ASSERT_TRUE(driver::ClickWithMouse(Control(IDC_CALC)));
    EXPECT_TRUE(driver::WaitUntil([&] { return Results() == kDefaultResults; })) << Show(Results());
    EXPECT_TRUE(driver::SaveScreenshot(ScreenshotPath("default-calculation")));
}

TEST_F(CalculateCommand, EditsChangeNothingUntilCalcAndASecondCalcWritesTheSameTexts)
{
    ASSERT_TRUE(session_.PressCalc().finished);
    ASSERT_EQ(Results(), kDefaultResults);

    const Inputs changed = With(&Inputs::pitchDiameter, "0.75");
    ASSERT_TRUE(driver::TypeText(Control(IDC_PITCH_DIAMETER), changed.pitchDiameter));
    driver::Settle(200);
    EXPECT_EQ(Results(), kDefaultResults) << "typing alone changed a result";

    const calculator::Expected expected = calculator::ExpectedFor(changed);
    ASSERT_EQ(expected.status, SolveStatus::Converged);
    ASSERT_NE(expected.texts, kDefaultResults);
    for (int press = 1; press <= 2; ++press) {
        const auto outcome = session_.PressCalc();
        ASSERT_TRUE(outcome.finished);
        EXPECT_TRUE(outcome.boxes.empty());
        EXPECT_EQ(Results(), expected.texts) << "after press " << press;
    }
}

TEST_F(CalculateCommand, OnlyPressNotificationsFromTheTwoButtonsAct)
{
    // What the dialog hears as WM_COMMAND: control, notification, and whether
    // it must calculate or show the help. Code 1 is how an accelerator reports.
    struct Command {
        int id;
        WORD notification;
        bool calculates;
        bool helps;
    };
    constexpr Command kCommands[] = {
        {IDC_CALC, BN_CLICKED, true, false},
        {IDC_CALC, 1, true, false},
        {IDC_CALC, BN_DOUBLECLICKED, false, false},
        {IDC_HELP_BUTTON, 1, false, true},
        {IDC_HELP_BUTTON, BN_SETFOCUS, false, false},
        {IDOK, BN_CLICKED, false, false},
        {IDCANCEL, BN_CLICKED, false, false},
        {IDC_PITCH_DIAMETER, EN_CHANGE, false, false},
    };
    for (const Command& command : kCommands) {
        SCOPED_TRACE("control " + std::to_string(command.id) + ", notification " +
                     std::to_string(command.notification));
        for (int id : calculator::kResultControls) {
            ASSERT_TRUE(driver::WriteText(Control(id), ""));
        }
        ASSERT_TRUE(PostMessageA(session_.Window(), WM_COMMAND, MAKEWPARAM(command.id, command.notification),
                                 reinterpret_cast<LPARAM>(Control(command.id))));
        if (command.calculates) {
            EXPECT_TRUE(driver::WaitUntil([&] { return Results() == kDefaultResults; })) << Show(Results());
            continue;
        }
        const auto box = driver::WaitForMessageBox(session_.ProcessId(), session_.Window(),
                                                   command.helps ? driver::kStepTimeoutMs : 300);
        EXPECT_EQ(box.has_value(), command.helps);
        if (box) {
            EXPECT_EQ(box->caption, "Help/About");
            ASSERT_TRUE(driver::AnswerOk(*box));
        }
        EXPECT_EQ(Results(), ResultTexts{});
    }
}

// A window of the driver's own: "another application" for the user to switch to.
class OtherApplication {
public:
    OtherApplication()
        : window_(CreateWindowExA(0, "STATIC", "Another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500,
                                  300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr))
    {
    }
    OtherApplication(const OtherApplication&) = delete;
    OtherApplication& operator=(const OtherApplication&) = delete;
    ~OtherApplication() { DestroyWindow(window_); }
    HWND Window() const { return window_; }

private:
    HWND window_;
};

TEST_F(CalculateCommand, FocusComesBackToTheStartsBoxAfterAnotherApplication)
{
    ASSERT_TRUE(driver::ClickWithMouse(Control(IDC_STARTS)));
    ASSERT_TRUE(driver::WaitUntil([&] { return FocusId() == IDC_STARTS; }));

    OtherApplication other;
    ASSERT_NE(other.Window(), nullptr);
    SetForegroundWindow(other.Window());
    ASSERT_TRUE(driver::WaitUntil([&] {
        return GetForegroundWindow() == other.Window() && driver::ActiveOf(session_.ThreadId()) == nullptr;
    })) << "the calculator was not deactivated";

    SetForegroundWindow(session_.Window());
    EXPECT_TRUE(driver::WaitUntil([&] { return FocusId() == IDC_STARTS; })) << "focus " << FocusId();
}

}  // namespace
