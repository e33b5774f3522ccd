// The calculator session: the calculator-specific steps of the window tests and
// the demo, and the engine's own answer for the same input texts, which the
// window must match to the character.

#include "calculator_driver.h"

#include "../../engine/fpu_mode.h"
#include "../../engine/parse_number.h"

namespace calculator {
namespace {

// Most message boxes one press can bring up: the high-residual warning, or the
// convergence failure. More means something is wrong; stop rather than loop.
constexpr int kMostBoxesPerPress = 2;

}  // namespace

Expected ExpectedFor(const Inputs& inputs)
{
    // The program computes in its own x87 mode; so must the expectation, or
    // the driver's default mode (53-bit under Windows) would round differently.
    LoadProgramFpuMode();
    ThreadInputs numbers;
    long double ThreadInputs::*const fields[] = {
        &ThreadInputs::pitchDiameter, &ThreadInputs::threadsPerInch, &ThreadInputs::starts,
        &ThreadInputs::axialPressureAngleDeg, &ThreadInputs::backlash, &ThreadInputs::actualWireDiameter,
    };
    for (std::size_t i = 0; i < kInputBoxes.size(); ++i) {
        numbers.*fields[i] = ParseNumber(inputs.*kInputBoxes[i].text);
    }
    ThreadResults results;
    Expected expected;
    expected.status = SolveThread(numbers, results);
    if (expected.status == SolveStatus::Converged) {
        expected.residualHigh = results.residualHigh;
        expected.texts = FormatResultFields(results);
    }
    return expected;
}

bool Session::Start(const std::string& exePath, const std::string& arguments)
{
    if (!process_.Start(exePath, arguments)) {
        return false;
    }
    window_ = driver::WaitForTopLevelWindow(process_.ProcessId(), kDialogClass, kWindowTitle);
    if (window_ == nullptr) {
        return false;
    }
    threadId_ = GetWindowThreadProcessId(window_, nullptr);
    // The window has the focus at first; the dialog manager hands it on to
    // the first input box on first activation. Wait for that, so that every
    // session starts from the same state.
    return driver::WaitUntil([this] { return IsChild(window_, driver::FocusOf(threadId_)) != FALSE; });
}

bool Session::SetInputs(const Inputs& inputs)
{
    for (const InputBox& box : kInputBoxes) {
        if (!driver::WriteText(Control(box.id), inputs.*box.text)) {
            return false;
        }
    }
    return true;
}

std::optional<Inputs> Session::ReadInputs() const
{
    Inputs inputs;
    for (const InputBox& box : kInputBoxes) {
        auto text = driver::ReadText(Control(box.id));
        if (!text) {
            return std::nullopt;
        }
        inputs.*box.text = *text;
    }
    return inputs;
}

std::optional<ResultTexts> Session::ReadResults() const
{
    ResultTexts texts;
    for (std::size_t i = 0; i < kResultControls.size(); ++i) {
        auto text = driver::ReadText(Control(kResultControls[i]));
        if (!text) {
            return std::nullopt;
        }
        texts[i] = *text;
    }
    return texts;
}

CalcOutcome FollowPress(Session& session, const std::function<bool()>& pressDone)
{
    CalcOutcome outcome;
    for (int boxes = 0; boxes <= kMostBoxesPerPress; ++boxes) {
        HWND box = nullptr;
        driver::WaitUntil([&] {
            if (pressDone()) {
                return true;
            }
            for (HWND window : driver::TopLevelWindows(session.ProcessId(), kDialogClass)) {
                if (window != session.Window()) {
                    box = window;
                    return true;
                }
            }
            return false;
        });
        if (box == nullptr) {
            outcome.finished = pressDone();
            return outcome;
        }
        auto view = driver::ReadMessageBox(box);
        if (!view) {
            return outcome;
        }
        outcome.windowEnabledDuringBox.push_back(IsWindowEnabled(session.Window()) != FALSE);
        outcome.resultsDuringBox.push_back(session.ReadResults().value_or(ResultTexts{}));
        outcome.boxes.push_back(*view);
        if (!driver::AnswerOk(*view)) {
            return outcome;
        }
    }
    return outcome;
}

CalcOutcome Session::PressCalc()
{
    driver::Press press(Control(IDC_CALC));
    if (!press.Sent()) {
        return {};
    }
    return FollowPress(*this, [&press] { return press.Done(); });
}

CalcOutcome Session::Calculate(const Inputs& inputs)
{
    if (!SetInputs(inputs)) {
        return {};
    }
    return PressCalc();
}

std::optional<DWORD> Session::Close()
{
    if (window_ == nullptr || !PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0)) {
        return std::nullopt;
    }
    return process_.WaitForExit();
}

}  // namespace calculator
