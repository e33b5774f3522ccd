// The calculator as a user meets it, for tests and demos that drive the real
// Vintrel.exe: start it, fill in the six inputs, press "CALC", answer its
// message boxes, read the nine results, close it. Built on window_driver.h.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../../engine/result_texts.h"
#include "../../engine/thread_solver.h"
#include "../../ui/calculator_dialog.h"
#include "window_driver.h"

namespace calculator {

// The title the calculator window has, and its window class (a dialog).
inline constexpr const char* kWindowTitle = "Vintrel";
inline constexpr const char* kDialogClass = "#32770";

// The six input texts, as typed.
struct Inputs {
    std::string pitchDiameter = "1.025";
    std::string threadsPerInch = "5";
    std::string starts = "4";
    std::string pressureAngle = "14.5";
    std::string backlash = "0.0004";
    std::string actualWire;
};

// One input box and where its text lives in Inputs, in the order the calculator reads them.
struct InputBox {
    int id;
    std::string Inputs::*text;
};
inline constexpr std::array<InputBox, 6> kInputBoxes{{
    {IDC_PITCH_DIAMETER, &Inputs::pitchDiameter},
    {IDC_TPI, &Inputs::threadsPerInch},
    {IDC_STARTS, &Inputs::starts},
    {IDC_PRESSURE_ANGLE, &Inputs::pressureAngle},
    {IDC_BACKLASH, &Inputs::backlash},
    {IDC_ACTUAL_WIRE, &Inputs::actualWire},
}};

// The nine result texts, indexed by ResultField.
using ResultTexts = std::array<std::string, kResultFieldCount>;

// The control that shows each result, indexed by ResultField.
inline constexpr std::array<int, kResultFieldCount> kResultControls{
    IDC_OUT_ACTUAL_DISTANCE, IDC_OUT_ACTUAL_NEW_DISTANCE, IDC_OUT_PITCH,
    IDC_OUT_LEAD,            IDC_OUT_LEAD_ANGLE,          IDC_OUT_BEST_WIRE,
    IDC_OUT_DISTANCE,        IDC_OUT_NEW_DISTANCE,        IDC_OUT_KEY_ANGLE,
};

// What the engine makes of the same input texts: the outcome and, when it
// converged, the nine texts the window must show.
struct Expected {
    SolveStatus status = SolveStatus::NoConvergence;
    bool residualHigh = false;
    ResultTexts texts;
};
Expected ExpectedFor(const Inputs& inputs);

// What pressing "CALC" led to: the message boxes met on the way (each read
// while up, then answered OK), and, while each was up, whether the calculator
// was enabled and what its result fields read.
struct CalcOutcome {
    bool finished = false;  // the press was handled to its end
    std::vector<driver::MessageBoxView> boxes;
    std::vector<bool> windowEnabledDuringBox;
    std::vector<ResultTexts> resultsDuringBox;
};

// One running calculator; terminated if it is still running when this goes.
class Session {
public:
    // Starts `exePath` with `arguments` and waits for its window.
    bool Start(const std::string& exePath, const std::string& arguments = "");

    HWND Window() const { return window_; }
    DWORD ThreadId() const { return threadId_; }
    DWORD ProcessId() const { return process_.ProcessId(); }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    driver::AppProcess& Process() { return process_; }

    bool SetInputs(const Inputs& inputs);
    std::optional<Inputs> ReadInputs() const;
    std::optional<ResultTexts> ReadResults() const;

    // Presses "CALC" (BM_CLICK), meets every message box on the way with OK,
    // and waits until the press has been handled.
    CalcOutcome PressCalc();

    // SetInputs, then PressCalc.
    CalcOutcome Calculate(const Inputs& inputs);

    // Closes the window with the close box (SC_CLOSE) and gives the exit code.
    std::optional<DWORD> Close();

private:
    driver::AppProcess process_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

// Meets the boxes a press brings up until `press` is handled: reads each box,
// notes whether the calculator is enabled meanwhile, answers OK.
CalcOutcome FollowPress(Session& session, const std::function<bool()>& pressDone);

}  // namespace calculator
