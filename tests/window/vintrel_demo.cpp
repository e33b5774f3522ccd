// The run command's demonstration on a display nobody watches: starts
// Vintrel.exe, presses "CALC" with the default inputs, prints the nine result
// texts read back from the window, saves a screenshot and closes the window.
//
//   vintrel-demo VINTREL_EXE SCREENSHOT_PNG
//
// Exit code: the calculator's own (0 once its window has been closed), or 1
// if a step failed.

#include <cstdio>
#include <string>

#include "calculator_driver.h"
#include "screenshot.h"

namespace {

// The results in the order the window shows them, top to bottom.
constexpr ResultField kWindowOrder[] = {
    ResultField::Pitch,           ResultField::Lead,           ResultField::LeadAngle,
    ResultField::KeyAngle,        ResultField::BestWireDiameter, ResultField::DistanceOverWires,
    ResultField::NewDistance,     ResultField::ActualDistance, ResultField::ActualNewDistance,
};

int Fail(const char* step)
{
    std::fprintf(stderr, "vintrel-demo: %s\n", step);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vintrel-demo VINTREL_EXE SCREENSHOT_PNG\n");
        return 2;
    }
    calculator::Session session;
    if (!session.Start(argv[1])) {
        return Fail("the calculator window did not appear");
    }
    const calculator::CalcOutcome outcome = session.PressCalc();
    if (!outcome.finished) {
        return Fail("the calculation did not finish");
    }
    for (const driver::MessageBoxView& box : outcome.boxes) {
        std::printf("Message \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
    }
    const auto results = session.ReadResults();
    if (!results) {
        return Fail("the result fields could not be read");
    }
    for (ResultField field : kWindowOrder) {
        const auto index = static_cast<std::size_t>(field);
        const std::string label = std::string(kResultFieldFormats[index].label) + ":";
        std::printf("%-20s %s\n", label.c_str(), (*results)[index].c_str());
    }
    const bool saved = driver::SaveScreenshot(argv[2]);
    if (saved) {
        std::printf("Screenshot: %s\n", argv[2]);
    }
    std::fflush(stdout);
    const auto exitCode = session.Close();
    if (!exitCode) {
        return Fail("the calculator did not close");
    }
    if (!saved) {
        return Fail("the screenshot could not be saved");
    }
    return static_cast<int>(*exitCode);
}
