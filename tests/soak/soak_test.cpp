// The soak: one Vintrel.exe and N calculations through its window, of every
// kind a user can throw at it, each checked against the engine's own texts for
// what the boxes hold; help boxes and message boxes opened and closed in every
// way; the process's objects and memory watched from outside; the window closed
// with its close box at the end.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "calculator_driver.h"
#include "process_watch.h"
#include "screenshot.h"
#include "soak_options.h"
#include "soak_texts.h"
#include "window_driver.h"

namespace {

using calculator::Inputs;
using calculator::ResultTexts;
using driver::BoxAnswer;
using soak::Field;
using soak::ProcessSample;
using soak::Random;

// --- What the user must see ---------------------------------------------------

// The calculation boxes, by what they say.
enum class Box { None, Warning, Failure };
struct BoxText {
    const char* caption;
    const char* text;
};
constexpr BoxText kWarningBox{"Error", "High residual error, check results!"};
constexpr BoxText kFailureBox{"Convergence Failure", "Inputs out of range!"};

// The help box: its caption, how its text begins, and its line feeds (36 lines).
constexpr const char* kHelpCaption = "Help/About";
constexpr const char* kHelpOpening = "Vintrel- ver 1.01\n";
constexpr long kHelpLineFeeds = 35;

// The calculator's controls that take the focus: a full round of Tab.
constexpr int kTabStops = 8;

// --- Limits of the run --------------------------------------------------------

// With no sign of progress for this long the soak is stuck: it says where, ends
// the calculator and fails. Every step of the driver gives up after its own
// bounded wait, so only something unbounded can get here.
constexpr DWORD kStuckAfterMs = 180000;

// How long the calculator may take to take in and draw a 64 KB text: the
// platform's edit control lays out its one line in time that grows with the
// square of its length, some seconds for 64 KB of digits.
constexpr DWORD kLongTextTimeoutMs = 60000;

// Real input (keys and clicks) meets a platform that moves the activation on
// its own: on a bare X server Wine hears of focus changes from the X server
// late, then activates windows, moves their focus and cancels clicks in
// progress. Before keys the soak waits until the calculator has been active
// and kept its focus for kSettledMs (at most kSettleLimitMs); a key or click
// that still has no effect within kLostInputMs is counted as lost and given
// again by message, which the platform cannot lose.
constexpr DWORD kSettledMs = 60;
constexpr DWORD kSettleLimitMs = 300;
constexpr DWORD kLostInputMs = 3000;

// How long a failure message waits to learn whether the calculator still answers.
constexpr DWORD kAnswerWithinMs = 2000;

// How long a click on the calculator, while a box is up, is given to show a
// second box (there must be none).
constexpr DWORD kImpatientClickSettleMs = 150;

// Growth allowed between the sample at a tenth of the run and the last one.
// Object and handle counts: a leak of one per calculation grows them by 90 or
// more over a full run (9 in the short one); the slack allows for one-off lazy
// allocations of the platform that the first tenth did not happen to reach.
constexpr DWORD kObjectCountSlack = 4;
// Committed memory (PrivateUsage, or PagefileUsage where the platform leaves
// PrivateUsage at 0, as Wine 8 does), summed over the checkpoint intervals in
// which no 64 KB text was put: it stays exactly flat under Wine 8 over 1000
// calculations. A 64 KB text raises the heap's high-water mark once (the edit
// control's buffers for it), by up to some 400 KB per text until a plateau
// about 1 MB up; that growth is reported but not held against the run (see
// the README for the measurements). A leak of 512 bytes a calculation fills
// the slack within the clean intervals of a full run.
constexpr long long kCommittedMemorySlackBytes = 256 * 1024;

// --- The plan -----------------------------------------------------------------

// How "CALC" is pressed.
enum class PressWay { ButtonMessage, MouseClick, TabThenEnter, SpaceKey };
const char* PressWayName(PressWay way)
{
    switch (way) {
    case PressWay::ButtonMessage: return "button pressed";
    case PressWay::MouseClick: return "mouse click";
    case PressWay::TabThenEnter: return "Tab to CALC, Enter";
    case PressWay::SpaceKey: return "Space on CALC";
    }
    return "?";
}

// Per cent of the random calculations that press "CALC" each way other than
// by the button's message.
constexpr unsigned kMousePercent = 10;
constexpr unsigned kTabEnterPercent = 10;
constexpr unsigned kSpacePercent = 10;

// Inputs whose outcome is known, with the box each must bring.
struct EdgeCase {
    const char* name;
    Inputs inputs;
    Box box;
};
const EdgeCase kEdgeCases[] = {
    {"default inputs", {}, Box::None},
    {"actual wire 0.1", {"1.025", "5", "4", "14.5", "0.0004", "0.1"}, Box::None},
    {"fine thread with actual wire", {"0.5", "20", "1", "30", "0.0004", "0.03"}, Box::None},
    {"steep lead, high residual", {"0.25", "0.5", "1", "7.5", "0.0004", ""}, Box::Warning},
    {"two-cycle, out of range", {"1", "1", "4", "14.5", "0.0004", ""}, Box::Failure},
    {"zero starts", {"1.025", "5", "0", "14.5", "0.0004", ""}, Box::Failure},
    {"zero pressure angle, infinite actual distances", {"1.025", "5", "4", "0", "0.0004", "0.1"}, Box::None},
};
constexpr std::size_t kDefaultCase = 0;
constexpr unsigned kEdgeCasePercent = 30;

// Per cent of the calculations after which the help box is opened, and of the
// boxes during which "CALC" is clicked.
constexpr unsigned kHelpPercent = 8;
constexpr unsigned kImpatientPercent = 10;

// Per cent of the short printable texts that are typed key by key rather than pasted.
constexpr unsigned kTypedPercent = 15;
constexpr std::size_t kLongestTypedText = 24;

// Longest text of arbitrary bytes the warm-up puts into each box.
constexpr std::size_t kWarmUpBytesMax = 40;

constexpr std::size_t kBoxCount = calculator::kInputBoxes.size();

// The field each box's text is for, in kInputBoxes order.
constexpr std::array<Field, kBoxCount> kBoxFields{Field::PitchDiameter, Field::ThreadsPerInch, Field::Starts,
                                                  Field::PressureAngle, Field::Backlash, Field::ActualWire};

// The six box texts of a step, in kInputBoxes order; nullopt leaves a box as it is.
using BoxTexts = std::array<std::optional<std::string>, kBoxCount>;

BoxTexts AllOf(const Inputs& inputs)
{
    BoxTexts texts;
    for (std::size_t i = 0; i < kBoxCount; ++i) {
        texts[i] = inputs.*calculator::kInputBoxes[i].text;
    }
    return texts;
}

// One calculation and what goes with it.
struct Step {
    int number = 0;
    std::string name;
    BoxTexts texts;
    std::array<bool, kBoxCount> typed{};  // typed key by key rather than pasted
    std::optional<Box> knownBox;           // the box an edge case must bring
    PressWay press = PressWay::ButtonMessage;
    BoxAnswer answer = BoxAnswer::OkButton;  // for the calculation's box, if one comes
    bool impatientClick = false;              // "CALC" clicked while that box is up
    bool help = false;                        // the help box opened afterwards
    bool helpByMouse = false;
    BoxAnswer helpAnswer = BoxAnswer::OkButton;
};

std::string Describe(const Step& step)
{
    std::string text = "calculation " + std::to_string(step.number) + " (" + step.name + ", " +
                       PressWayName(step.press) + ", a box answered by " + driver::BoxAnswerName(step.answer) + ")";
    for (std::size_t i = 0; i < kBoxCount; ++i) {
        text += "\n  box " + std::to_string(calculator::kInputBoxes[i].id) + ": " +
                (step.texts[i] ? soak::Describe(*step.texts[i]) : "left as it is");
    }
    if (step.impatientClick) {
        text += "\n  CALC clicked while a box is up";
    }
    if (step.help) {
        text += std::string("\n  then help, ") + (step.helpByMouse ? "clicked" : "pressed") + ", closed by " +
                driver::BoxAnswerName(step.helpAnswer);
    }
    return text;
}

bool PrintableAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

const EdgeCase* EdgeCaseNamed(const std::string& name)
{
    for (const EdgeCase& edge : kEdgeCases) {
        if (name == edge.name) {
            return &edge;
        }
    }
    return nullptr;
}

// The first calculations, fixed so that every kind of step (each edge case's
// box, every way of pressing and answering, the help box, 64 KB, arbitrary
// bytes, empty boxes) has run before the first sample is taken.
struct WarmUp {
    const char* name;
    std::function<BoxTexts(Random&, const char* name)> texts;
    PressWay press;
    BoxAnswer answer;
    bool impatientClick;
    bool help;
    bool helpByMouse;
    BoxAnswer helpAnswer;
};
const std::vector<WarmUp>& WarmUps()
{
    // The texts of the edge case that the warm-up step is named after.
    const auto edge = [](Random&, const char* name) { return AllOf(EdgeCaseNamed(name)->inputs); };
    static const std::vector<WarmUp> warmUps{
        {"default inputs", edge, PressWay::ButtonMessage, BoxAnswer::OkButton, false, false, false, {}},
        {"steep lead, high residual", edge, PressWay::ButtonMessage, BoxAnswer::CloseBox, false, false, false, {}},
        {"two-cycle, out of range", edge, PressWay::TabThenEnter, BoxAnswer::EnterKey, true, false, false, {}},
        {"zero starts", edge, PressWay::MouseClick, BoxAnswer::EscapeKey, false, false, false, {}},
        {"zero pressure angle, infinite actual distances", edge, PressWay::SpaceKey, BoxAnswer::OkClick, false,
         false, false, {}},
        {"64 KB of blanks before the pitch diameter",
         [](Random& r, const char*) {
             BoxTexts texts;
             texts[0] = soak::LongBlanksThenNumber(r, Field::PitchDiameter);
             return texts;
         },
         PressWay::ButtonMessage, BoxAnswer::OkClick, false, false, false, {}},
        {"arbitrary bytes in every box",
         [](Random& r, const char*) {
             BoxTexts texts;
             for (auto& text : texts) {
                 text = soak::ArbitraryBytes(r, kWarmUpBytesMax);
             }
             return texts;
         },
         PressWay::ButtonMessage, BoxAnswer::OkButton, false, true, false, BoxAnswer::OkButton},
        {"fine thread with actual wire", edge, PressWay::MouseClick, BoxAnswer::OkButton, false, true, true,
         BoxAnswer::OkClick},
        {"every box empty", [](Random&, const char*) { return AllOf(Inputs{"", "", "", "", "", ""}); },
         PressWay::ButtonMessage,
         BoxAnswer::EnterKey, false, true, false, BoxAnswer::CloseBox},
    };
    return warmUps;
}

// Draws everything about calculation `number` up front, so that the stream of
// choices, and with it the whole run, follows from the seed alone. Every
// `checkpointEvery`-th calculation is the default one, after which the process
// is sampled: the window then holds the same texts at every sample.
Step PlanStep(int number, int checkpointEvery, Random& random)
{
    Step step;
    step.number = number;
    const auto& warmUps = WarmUps();
    if (number % checkpointEvery == 0) {
        step.name = "checkpoint: default inputs";
        step.texts = AllOf(kEdgeCases[kDefaultCase].inputs);
        step.knownBox = kEdgeCases[kDefaultCase].box;
        return step;
    }
    if (static_cast<std::size_t>(number) <= warmUps.size()) {
        const WarmUp& warmUp = warmUps[static_cast<std::size_t>(number - 1)];
        step.name = warmUp.name;
        step.texts = warmUp.texts(random, warmUp.name);
        step.press = warmUp.press;
        step.answer = warmUp.answer;
        step.impatientClick = warmUp.impatientClick;
        step.help = warmUp.help;
        step.helpByMouse = warmUp.helpByMouse;
        step.helpAnswer = warmUp.helpAnswer;
    } else {
        if (random.Chance(kEdgeCasePercent)) {
            const EdgeCase& edge = random.Pick(kEdgeCases);
            step.name = edge.name;
            step.texts = AllOf(edge.inputs);
        } else {
            step.name = "random texts";
            const Inputs start;
            for (std::size_t i = 0; i < kBoxCount; ++i) {
                step.texts[i] = soak::RandomBoxText(random, kBoxFields[i], start.*calculator::kInputBoxes[i].text);
            }
        }
        const std::size_t way = random.Below(100);
        step.press = way < kMousePercent                                      ? PressWay::MouseClick
                     : way < kMousePercent + kTabEnterPercent                 ? PressWay::TabThenEnter
                     : way < kMousePercent + kTabEnterPercent + kSpacePercent ? PressWay::SpaceKey
                                                                               : PressWay::ButtonMessage;
        step.answer = random.Pick(driver::kBoxAnswers);
        step.impatientClick = random.Chance(kImpatientPercent);
        step.help = random.Chance(kHelpPercent);
        step.helpByMouse = random.Chance(50);
        step.helpAnswer = random.Pick(driver::kBoxAnswers);
    }
    if (const EdgeCase* edge = EdgeCaseNamed(step.name)) {
        step.knownBox = edge->box;
    }
    for (std::size_t i = 0; i < kBoxCount; ++i) {
        const bool typeable = step.texts[i] && !step.texts[i]->empty() &&
                              step.texts[i]->size() <= kLongestTypedText && PrintableAscii(*step.texts[i]);
        step.typed[i] = random.Chance(kTypedPercent) && typeable;
    }
    return step;
}

// --- Watching -----------------------------------------------------------------

// Ends a stuck soak: if no step reports progress for kStuckAfterMs, it says
// where the run stood, ends the calculator and the soak itself.
class Watchdog {
public:
    Watchdog(const soak::ProcessWatch& calculator, std::uint64_t seed)
        : calculator_(calculator), seed_(seed), thread_([this] { Watch(); })
    {
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog()
    {
        stop_ = true;
        thread_.join();
    }

    void Progress(const std::string& where)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        where_ = where;
        lastProgress_ = GetTickCount64();
    }

private:
    // How often the watchdog looks at the clock.
    static constexpr DWORD kLookEveryMs = 200;

    void Watch()
    {
        while (!stop_) {
            Sleep(kLookEveryMs);
            const std::lock_guard<std::mutex> lock(mutex_);
            if (GetTickCount64() - lastProgress_ > kStuckAfterMs) {
                std::fprintf(stderr,
                             "soak: STUCK: no progress for %lu s during %s\n"
                             "soak: seed %" PRIu64 "; ending Vintrel.exe and the soak\n",
                             kStuckAfterMs / 1000, where_.c_str(), seed_);
                std::fflush(stderr);
                std::fflush(stdout);
                calculator_.Terminate(3);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    const soak::ProcessWatch& calculator_;
    const std::uint64_t seed_;
    std::mutex mutex_;
    std::string where_ = "start-up";
    ULONGLONG lastProgress_ = GetTickCount64();
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The samples as a table, with the 64 KB texts put before each.
void PrintSamples(const std::vector<ProcessSample>& samples, const std::vector<int>& longTextsAt)
{
    std::printf("soak: %6s %8s %8s %8s %12s %12s %12s %8s\n", "calc", "USER", "GDI", "handles", "private KB",
                "pagefile KB", "workset KB", "64 KB");
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const ProcessSample& s = samples[i];
        std::printf("soak: %6d %8lu %8lu %8lu %12zu %12zu %12zu %8d\n", s.calculation, s.userObjects, s.gdiObjects,
                    s.handles, s.privateBytes / 1024, s.pagefileBytes / 1024, s.workingSetBytes / 1024,
                    longTextsAt[i]);
    }
}

// --- The soak -----------------------------------------------------------------

class Soak : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session_.Start(soak::TheOptions().vintrel)) << "no window \"Vintrel\" appeared";
        watch_ = std::make_unique<soak::ProcessWatch>(session_.ProcessId());
        ASSERT_TRUE(watch_->Opened()) << "the calculator process cannot be watched";
        const auto shown = session_.ReadResults();
        const auto held = session_.ReadInputs();
        ASSERT_TRUE(shown && held);
        shown_ = *shown;
        held_ = *held;
    }

    HWND Control(int id) const { return session_.Control(id); }
    HWND Window() const { return session_.Window(); }

    ResultTexts Results()
    {
        auto results = session_.ReadResults();
        EXPECT_TRUE(results) << "the result fields did not answer";
        return results.value_or(ResultTexts{});
    }

    void PutTexts(const Step& step);
    bool Settled(HWND topLevel);
    bool TabToCalc();
    bool StartPress(PressWay way, std::unique_ptr<driver::Press>& press);
    void AnswerBox(const driver::MessageBoxView& box, BoxAnswer answer, const char* kind);
    std::string FocusState() const;
    HWND OpenBox() const;
    void NoteActivationAfterBox();
    void ClickCalcWhileBoxIsUp(HWND box);
    void Calculate(const Step& step);
    void OpenAndCloseHelp(const Step& step);
    void Run();

    calculator::Session session_;
    std::unique_ptr<soak::ProcessWatch> watch_;
    ResultTexts shown_;  // what the result fields showed after the last step
    Inputs held_;        // what the input boxes held after the last step
    int longTextsPut_ = 0;  // 64 KB texts put into the boxes so far
    std::map<std::string, int> tally_;  // what the run met, for its summary
};

// Puts the step's texts into the boxes, pasted or typed; a box that already
// holds its text is left alone, as a user would.
void Soak::PutTexts(const Step& step)
{
    for (std::size_t i = 0; i < kBoxCount; ++i) {
        const calculator::InputBox& box = calculator::kInputBoxes[i];
        if (!step.texts[i] || *step.texts[i] == held_.*box.text) {
            continue;
        }
        const std::string& text = *step.texts[i];
        const HWND edit = Control(box.id);
        const bool put = step.typed[i] ? driver::TypeText(edit, text)
                                       : driver::WriteText(edit, text, kLongTextTimeoutMs);
        ASSERT_TRUE(put) << "box " << box.id << " did not take its text";
        if (text.size() >= soak::kLongTextBytes) {
            // Drawing the text takes as long as taking it in; wait for both,
            // so that the next steps' short waits do not run into it.
            ASSERT_TRUE(driver::WaitUntil([&] { return GetUpdateRect(edit, nullptr, FALSE) == FALSE; },
                                          kLongTextTimeoutMs) &&
                        driver::WaitIdle(Window(), kLongTextTimeoutMs))
                << "the calculator did not draw a 64 KB text within " << kLongTextTimeoutMs / 1000 << " s";
            ++tally_["64 KB texts"];
            ++longTextsPut_;
        }
        if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; })) {
            ++tally_["texts with bytes above 0x7F"];
        }
        ++tally_[text.empty() ? "boxes emptied" : step.typed[i] ? "texts typed" : "texts pasted"];
    }
}

// Waits until `topLevel` has been the active window with the same focus for
// kSettledMs. False if it is not so within kSettleLimitMs.
bool Soak::Settled(HWND topLevel)
{
    const DWORD thread = session_.ThreadId();
    HWND focus = nullptr;
    DWORD since = GetTickCount();
    return driver::WaitUntil(
        [&] {
            const HWND now = driver::ActiveOf(thread) == topLevel ? driver::FocusOf(thread) : nullptr;
            if (now == nullptr || now != focus) {
                focus = now;
                since = GetTickCount();
                return false;
            }
            return GetTickCount() - since >= kSettledMs;
        },
        kSettleLimitMs);
}

// Brings the focus to "CALC" with Tab, as a user does so that Enter presses it
// (the dialog manager treats a button reached by Tab as the default one).
// Keys reach the calculator only while it is active, and a closed box leaves
// it inactive (see the README): a user then clicks into it first, here into
// the first input box.
bool Soak::TabToCalc()
{
    if (!Settled(Window())) {
        ++tally_["clicks to activate the calculator again"];
        if (!driver::ClickWithMouse(Control(IDC_PITCH_DIAMETER)) || !Settled(Window())) {
            return false;
        }
    }
    const DWORD thread = session_.ThreadId();
    const HWND calc = Control(IDC_CALC);
    for (int presses = 0; presses <= kTabStops; ++presses) {
        const HWND before = driver::FocusOf(thread);
        if (presses > 0 && before == calc) {
            return true;
        }
        if (!driver::PostKey(thread, VK_TAB) ||
            !driver::WaitUntil([&] { return driver::FocusOf(thread) != before; }, kLostInputMs)) {
            return false;
        }
    }
    return false;
}

// Presses "CALC" the given way. Pressed by message, `press` follows the press
// to its end; otherwise the press shows only in what it brings.
bool Soak::StartPress(PressWay way, std::unique_ptr<driver::Press>& press)
{
    switch (way) {
    case PressWay::ButtonMessage:
        press = std::make_unique<driver::Press>(Control(IDC_CALC));
        return press->Sent();
    case PressWay::MouseClick:
        return driver::ClickWithMouse(Control(IDC_CALC));
    case PressWay::TabThenEnter:
        return TabToCalc() && driver::PostKey(session_.ThreadId(), VK_RETURN);
    case PressWay::SpaceKey:
        return TabToCalc() && driver::PostKey(session_.ThreadId(), VK_SPACE);
    }
    return false;
}

// Closes a box the step's way; one that stays up is closed by its OK button.
void Soak::AnswerBox(const driver::MessageBoxView& box, BoxAnswer answer, const char* kind)
{
    if (driver::Answer(box, answer, kLostInputMs) || !IsWindow(box.box)) {
        ++tally_[std::string(kind) + " closed by " + driver::BoxAnswerName(answer)];
        return;
    }
    ++tally_[std::string(kind) + " not closed by " + driver::BoxAnswerName(answer) + " (lost, OK pressed)"];
    ASSERT_TRUE(driver::AnswerOk(box)) << "the box did not close by its OK button either; " << FocusState();
}

// Where the keyboard and the calculator's thread stand, for a failure message.
std::string Soak::FocusState() const
{
    const HWND focus = driver::FocusOf(session_.ThreadId());
    const HWND active = driver::ActiveOf(session_.ThreadId());
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(session_.ThreadId(), &info);
    POINT cursor{};
    GetCursorPos(&cursor);
    char text[240];
    std::snprintf(text, sizeof text,
                  " [active %p focus %p capture %p move-size %p menu-owner %p flags %lx foreground %p, cursor %ld,%ld "
                  "over %p]",
                  static_cast<void*>(info.hwndActive), static_cast<void*>(info.hwndFocus),
                  static_cast<void*>(info.hwndCapture), static_cast<void*>(info.hwndMoveSize),
                  static_cast<void*>(info.hwndMenuOwner), info.flags, static_cast<void*>(GetForegroundWindow()),
                  cursor.x, cursor.y, static_cast<void*>(WindowFromPoint(cursor)));
    const bool answers = driver::WaitIdle(Window(), kAnswerWithinMs);
    return std::string(answers ? "the calculator answers messages, " : "the calculator does not answer messages, ") +
           "focus on control " + std::to_string(focus ? GetDlgCtrlID(focus) : 0) + (focus ? "" : " (none)") +
           ", calculator " + (active == Window() ? "active" : "not active") +
           (GetForegroundWindow() == Window() ? " and in the foreground" : ", not in the foreground") + text;
}

// A message box of the calculator other than its window, or null.
HWND Soak::OpenBox() const
{
    for (HWND window : driver::TopLevelWindows(session_.ProcessId(), calculator::kDialogClass)) {
        if (window != Window()) {
            return window;
        }
    }
    return nullptr;
}

// Whether the calculator was active again once a box had gone, for the summary.
void Soak::NoteActivationAfterBox()
{
    ++tally_[driver::ActiveOf(session_.ThreadId()) == Window() ? "boxes after which the calculator was active"
                                                               : "boxes after which no window was active"];
}

// A click on "CALC" while a box is up: the calculator must not take it.
void Soak::ClickCalcWhileBoxIsUp(HWND box)
{
    RECT boxRect{};
    RECT calcRect{};
    GetWindowRect(box, &boxRect);
    GetWindowRect(Control(IDC_CALC), &calcRect);
    const POINT centre{(calcRect.left + calcRect.right) / 2, (calcRect.top + calcRect.bottom) / 2};
    if (PtInRect(&boxRect, centre)) {
        return;  // the box covers the button: the click would land on the box
    }
    ASSERT_TRUE(driver::ClickWithMouse(Control(IDC_CALC)));
    driver::Settle(kImpatientClickSettleMs);
    EXPECT_EQ(driver::TopLevelWindows(session_.ProcessId(), calculator::kDialogClass).size(), 2u)
        << "a click on CALC while a box was up brought another box";
    ++tally_["clicks on CALC while a box was up"];
}

void Soak::Calculate(const Step& step)
{
    ASSERT_TRUE(session_.Process().Running()) << "Vintrel.exe has ended";
    const ResultTexts before = shown_;

    ASSERT_NO_FATAL_FAILURE(PutTexts(step));
    const auto held = session_.ReadInputs();
    ASSERT_TRUE(held) << "the input boxes did not answer";
    std::string kept;
    for (std::size_t i = 0; i < kBoxCount; ++i) {
        const calculator::InputBox& box = calculator::kInputBoxes[i];
        const std::string& holds = (*held).*box.text;
        const std::string& wanted = step.texts[i] ? *step.texts[i] : held_.*box.text;
        if (!step.texts[i]) {
            kept += "\n  box " + std::to_string(box.id) + " holds " + soak::Describe(holds);
        }
        if (holds == wanted) {
            continue;
        }
        // A box holds what was put into it, or, left alone, what it held after
        // the last calculation (which must not change the inputs). Only bytes
        // outside ASCII may come back otherwise, through the code-page
        // conversions between the two processes and the control.
        EXPECT_FALSE(PrintableAscii(wanted)) << "box " << box.id << " holds " << soak::Describe(holds) << ", not "
                                             << soak::Describe(wanted);
        ++tally_["texts changed by the code page"];
    }
    SCOPED_TRACE("boxes left as they were:" + kept);
    held_ = *held;

    // The window must show what the engine makes of the texts it holds.
    const calculator::Expected expected = calculator::ExpectedFor(*held);
    const bool converged = expected.status == SolveStatus::Converged;
    const Box box = !converged ? Box::Failure : expected.residualHigh ? Box::Warning : Box::None;
    if (step.knownBox) {
        ASSERT_EQ(box, *step.knownBox) << "the engine's outcome is not the edge case's";
    }

    // Pressed other than by message, the end of a calculation shows only in a
    // box or in changed fields; when neither comes, the button message, whose
    // answer marks the end, is taken instead.
    PressWay way = step.press;
    if (way != PressWay::ButtonMessage && box == Box::None && expected.texts == before) {
        way = PressWay::ButtonMessage;
    }
    ++tally_[std::string("CALC by ") + PressWayName(way)];

    std::unique_ptr<driver::Press> press;
    const bool pressed = StartPress(way, press);
    if (way == PressWay::ButtonMessage) {
        ASSERT_TRUE(pressed) << "CALC could not be pressed";
    } else {
        // Pressed so, the calculation shows within kLostInputMs in a box or in
        // the fields, or the press was lost on the way.
        const bool shows = pressed && driver::WaitUntil(
                                          [&] {
                                              return OpenBox() != nullptr ||
                                                     (box == Box::None && session_.ReadResults() == expected.texts);
                                          },
                                          kLostInputMs);
        if (!shows) {
            ++tally_[std::string("presses lost (") + PressWayName(way) + "), CALC pressed by message"];
            press = std::make_unique<driver::Press>(Control(IDC_CALC));
            ASSERT_TRUE(press->Sent()) << "CALC could not be pressed";
        }
    }

    std::vector<driver::MessageBoxView> boxes;
    const auto finished = [&] {
        if (press) {
            return press->Done();
        }
        if (box != Box::None && boxes.empty()) {
            return false;
        }
        return !converged || session_.ReadResults() == expected.texts;
    };
    // One press brings one box at most; a few more are met (and fail the
    // step) rather than left up.
    constexpr int kMostBoxesMet = 3;
    for (int met = 0; met < kMostBoxesMet; ++met) {
        HWND open = nullptr;
        const bool moved = driver::WaitUntil([&] {
            open = OpenBox();
            return open != nullptr || finished();
        });
        ASSERT_TRUE(moved) << "the calculation neither ended nor showed a box within "
                           << driver::kStepTimeoutMs / 1000 << " s";
        if (open == nullptr) {
            break;
        }
        const auto view = driver::ReadMessageBox(open);
        ASSERT_TRUE(view) << "the message box could not be read";
        const BoxText& wanted = box == Box::Warning ? kWarningBox : kFailureBox;
        EXPECT_NE(box, Box::None) << "a box came that the engine's outcome does not call for: \"" << view->caption
                                  << "\": " << view->text;
        EXPECT_EQ(view->caption, wanted.caption);
        EXPECT_EQ(view->text, wanted.text);
        EXPECT_TRUE(view->hasIcon) << "the error icon";
        EXPECT_EQ(view->buttons, std::vector<std::string>{"OK"});
        EXPECT_FALSE(IsWindowEnabled(Window())) << "the calculator takes input while \"" << view->caption
                                                << "\" is up";
        EXPECT_EQ(Results(), before) << "the fields changed before the box was answered";
        boxes.push_back(*view);
        ++tally_[std::string("boxes \"") + view->caption + "\""];
        if (step.impatientClick) {
            ASSERT_NO_FATAL_FAILURE(ClickCalcWhileBoxIsUp(open));
        }
        ASSERT_NO_FATAL_FAILURE(AnswerBox(*view, step.answer, "boxes"));
    }
    ASSERT_TRUE(driver::WaitUntil(finished)) << "the calculation did not end";
    ASSERT_TRUE(driver::WaitIdle(Window())) << "the calculator did not come back to its message loop";
    EXPECT_EQ(boxes.size(), box == Box::None ? 0u : 1u) << "message boxes of one press";
    EXPECT_TRUE(IsWindowEnabled(Window())) << "the calculator stays disabled after its box";
    if (!boxes.empty()) {
        NoteActivationAfterBox();
    }

    const ResultTexts after = Results();
    const ResultTexts& wanted = converged ? expected.texts : before;
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i], wanted[i]) << "result field " << calculator::kResultControls[i] << " shows "
                                       << soak::Describe(after[i]) << ", wanted " << soak::Describe(wanted[i]);
    }
    shown_ = after;
    ++tally_[step.knownBox ? "calculations of known outcome" : "calculations of random texts"];
}

void Soak::OpenAndCloseHelp(const Step& step)
{
    std::unique_ptr<driver::Press> press;
    std::optional<driver::MessageBoxView> box;
    if (step.helpByMouse) {
        ASSERT_TRUE(driver::ClickWithMouse(Control(IDC_HELP_BUTTON)));
        box = driver::WaitForMessageBox(session_.ProcessId(), Window(), kLostInputMs);
        if (!box) {
            ++tally_["clicks on HELP lost, HELP pressed by message"];
        }
    }
    if (!box) {
        press = std::make_unique<driver::Press>(Control(IDC_HELP_BUTTON));
        ASSERT_TRUE(press->Sent());
        box = driver::WaitForMessageBox(session_.ProcessId(), Window());
    }
    ASSERT_TRUE(box) << "no help box came";
    EXPECT_EQ(box->caption, kHelpCaption);
    EXPECT_EQ(box->text.rfind(kHelpOpening, 0), 0u) << soak::Describe(box->text);
    EXPECT_EQ(std::count(box->text.begin(), box->text.end(), '\n'), kHelpLineFeeds);
    EXPECT_FALSE(box->hasIcon);
    EXPECT_EQ(box->buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(IsWindowEnabled(Window())) << "the calculator takes input while the help is up";
    ASSERT_NO_FATAL_FAILURE(AnswerBox(*box, step.helpAnswer, "help boxes"));
    if (press) {
        ASSERT_TRUE(press->WaitDone()) << "the press of HELP did not end";
    }
    ASSERT_TRUE(driver::WaitIdle(Window()));
    EXPECT_TRUE(IsWindowEnabled(Window()));
    NoteActivationAfterBox();
    EXPECT_EQ(Results(), shown_) << "the help box changed a result field";
}

void Soak::Run()
{
    const soak::Options& options = soak::TheOptions();
    const int total = options.calculations;
    const int checkpointEvery = std::max(1, total / 10);
    Random random(options.seed);
    Watchdog watchdog(*watch_, options.seed);
    std::vector<ProcessSample> samples;

    std::vector<int> longTextsAt;  // 64 KB texts put before each sample
    const auto takeSample = [&](int calculation) {
        const auto sample = watch_->Sample(calculation);
        ASSERT_TRUE(sample) << "the calculator's figures could not be read";
        samples.push_back(*sample);
        longTextsAt.push_back(longTextsPut_);
    };
    ASSERT_NO_FATAL_FAILURE(takeSample(0));

    const auto start = std::chrono::steady_clock::now();
    for (int number = 1; number <= total; ++number) {
        const Step step = PlanStep(number, checkpointEvery, random);
        const std::string where = Describe(step);
        watchdog.Progress(where);
        SCOPED_TRACE("seed " + std::to_string(options.seed) + ", " + where);
        Calculate(step);
        if (!HasFailure() && step.help) {
            OpenAndCloseHelp(step);
        }
        if (HasFailure()) {
            driver::SaveScreenshot(options.screenshots + "/soak-failure.png");
            return;
        }
        if (number % checkpointEvery == 0) {
            ASSERT_NO_FATAL_FAILURE(takeSample(number));
        }
        if (number == checkpointEvery) {
            driver::SaveScreenshot(options.screenshots + "/soak-first-tenth.png");
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    driver::SaveScreenshot(options.screenshots + "/soak-end.png");

    std::printf("soak: %d calculations in %.1f s (%.0f ms each, help boxes included)\n", total, seconds,
                1000.0 * seconds / total);
    for (const auto& [what, count] : tally_) {
        std::printf("soak:   %-48s %6d\n", what.c_str(), count);
    }
    PrintSamples(samples, longTextsAt);
    std::fflush(stdout);

    // Flat from the first checkpoint to the last: counts compared end to end,
    // memory over the intervals without 64 KB texts.
    if (samples.size() < 3) {
        return;  // too short a run for a first tenth
    }
    const ProcessSample& first = samples[1];
    const ProcessSample& last = samples.back();
    const auto flatCount = [&](const char* what, DWORD from, DWORD to) {
        if (from == 0 || to == 0) {
            std::printf("soak: %s not reported by the platform; not checked\n", what);
            return;
        }
        EXPECT_LE(to, from + kObjectCountSlack)
            << what << " grew from calculation " << first.calculation << " to " << last.calculation;
    };
    flatCount("USER objects", first.userObjects, last.userObjects);
    flatCount("GDI objects", first.gdiObjects, last.gdiObjects);
    flatCount("handles", first.handles, last.handles);
    const bool privateReported = first.privateBytes != 0 && last.privateBytes != 0;
    const auto committed = [&](const ProcessSample& s) {
        return static_cast<long long>(privateReported ? s.privateBytes : s.pagefileBytes);
    };
    long long cleanGrowth = 0;
    long long longTextGrowth = 0;
    for (std::size_t i = 2; i < samples.size(); ++i) {
        const long long growth = committed(samples[i]) - committed(samples[i - 1]);
        (longTextsAt[i] == longTextsAt[i - 1] ? cleanGrowth : longTextGrowth) += growth;
    }
    std::printf("soak: %s memory from calculation %d to %d: %+lld KB in the intervals without 64 KB texts, "
                "%+lld KB in those with (%d texts)\n",
                privateReported ? "private" : "pagefile", first.calculation, last.calculation, cleanGrowth / 1024,
                longTextGrowth / 1024, longTextsAt.back() - longTextsAt[1]);
    std::fflush(stdout);
    EXPECT_LE(cleanGrowth, kCommittedMemorySlackBytes)
        << "memory grew by " << cleanGrowth / 1024 << " KB over the calculations without 64 KB texts";
}

TEST_F(Soak, CalculationsThroughTheWindowStayRightAndFlat)
{
    Run();
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(driver::ClickCloseBox(Window())) << "the calculator's close box could not be found";
    EXPECT_EQ(session_.Process().WaitForExit(), std::optional<DWORD>(0)) << "exit code after the close box";
}

}  // namespace
