// The "Help/About" box: what the calculator computes, how to read its results,
// and where its formulas come from.

#include "help_box.h"

#include <array>
#include <string>
#include <string_view>

#include <windows.h>

#include "platform_call.h"

namespace {

// The help text, one entry per line; an empty entry is an empty line.
constexpr std::array<std::string_view, 36> kHelpLines{
    "Vintrel- ver 1.01",
    "Provided as is, without warranty of any kind.",
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
    "The formulas are those of the Vogel exact method for",
    "measuring screw threads over three wires.",
};

constexpr const char* kHelpCaption = "Help/About";

// One OK button and no icon; task-modal, so the calculator takes no input while
// the box is up, and brought to the front where the user looks for it.
constexpr UINT kHelpBoxStyle = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;  // 0x00012000

// The lines joined by a line feed alone, where the message box breaks them;
// no line feed follows the last line.
std::string HelpText()
{
    std::string text(kHelpLines.front());
    for (std::size_t i = 1; i < kHelpLines.size(); ++i) {
        text += '\n';
        text += kHelpLines[i];
    }
    return text;
}

}  // namespace

void ShowHelpBox()
{
    const std::string text = HelpText();
    PlatformCall(MessageBoxA, nullptr, text.c_str(), kHelpCaption, kHelpBoxStyle);
}
