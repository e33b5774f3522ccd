// Reading vintrel-calc's arguments, and the usage text, both driven by the
// table of the six inputs so that the options and the help cannot drift apart.

#include "options.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <utility>

namespace {

constexpr std::string_view kOptionPrefix = "--";

// The options that take no text.
struct FlagOption {
    std::string_view name;   // written --name
    RunMode mode;
};

constexpr std::array<FlagOption, 3> kFlagOptions = {{
    {"json", RunMode::Json},
    {"batch", RunMode::Batch},
    {"help", RunMode::Help},
}};

// The short spelling of --help that most programs accept.
constexpr std::string_view kShortHelp = "-h";

// Width of the option column in the usage text.
constexpr std::size_t kUsageOptionWidth = 24;

// An argument as it may be shown inside a one-line message: control bytes are
// written as \xNN, so that no argument can break the line or the terminal.
std::string Shown(std::string_view argument)
{
    std::string shown = "'";
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(byte));
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown + "'";
}

// The index in kInputFields of the input written --name, if there is one.
std::optional<std::size_t> FindInputOption(std::string_view name)
{
    for (std::size_t i = 0; i < kInputFields.size(); ++i)
        if (kInputFields[i].option == name)
            return i;
    return std::nullopt;
}

const FlagOption* FindFlagOption(std::string_view name)
{
    for (const FlagOption& flag : kFlagOptions)
        if (flag.name == name)
            return &flag;
    return nullptr;
}

CommandLineParse Failure(std::string error)
{
    return CommandLineParse{CommandLine{}, std::move(error)};
}

}  // namespace

CommandLineParse ParseCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine commandLine;
    std::array<bool, kInputCount> inputGiven{};
    std::array<bool, kFlagOptions.size()> flagGiven{};
    bool anyInputGiven = false;

    for (std::size_t a = 0; a < arguments.size(); ++a) {
        std::string_view argument = arguments[a];
        if (argument == kShortHelp)
            argument = "--help";
        if (!argument.starts_with(kOptionPrefix) || argument == kOptionPrefix)
            return Failure("unexpected argument " + Shown(argument));

        // "--name=text" or "--name"
        std::string_view name = argument.substr(kOptionPrefix.size());
        std::optional<std::string_view> attachedText;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            attachedText = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const std::string shownName = Shown(std::string(kOptionPrefix) + std::string(name));

        if (const std::optional<std::size_t> input = FindInputOption(name)) {
            if (inputGiven[*input])
                return Failure("option " + shownName + " given more than once");
            inputGiven[*input] = true;
            anyInputGiven = true;
            if (attachedText) {
                commandLine.inputs[*input] = std::string(*attachedText);
            } else if (a + 1 < arguments.size()) {
                commandLine.inputs[*input] = std::string(arguments[++a]);
            } else {
                return Failure("option " + shownName + " needs a text");
            }
            continue;
        }

        const FlagOption* flag = FindFlagOption(name);
        if (flag == nullptr)
            return Failure("unknown option " + shownName);
        if (attachedText)
            return Failure("option " + shownName + " takes no text");
        const auto f = static_cast<std::size_t>(flag - kFlagOptions.data());
        if (flagGiven[f])
            return Failure("option " + shownName + " given more than once");
        flagGiven[f] = true;
        // --help wins over the other outputs; the other two exclude each other.
        if (commandLine.mode == RunMode::Help || flag->mode == RunMode::Help) {
            commandLine.mode = RunMode::Help;
        } else if (commandLine.mode != RunMode::Text) {
            return Failure("options '--json' and '--batch' exclude each other");
        } else {
            commandLine.mode = flag->mode;
        }
    }

    if (commandLine.mode == RunMode::Batch && anyInputGiven)
        return Failure("option '--batch' reads its inputs from standard input, not from options");
    return CommandLineParse{std::move(commandLine), {}};
}

std::string UsageText()
{
    std::string text =
        "Usage: vintrel-calc [input options] [--json]\n"
        "       vintrel-calc --batch < inputs.csv > results.csv\n"
        "\n"
        "Three-wire measurement of a screw thread: solves the Vogel equation for the\n"
        "key angle and prints the figures of the Vintrel window, in the same texts.\n"
        "\n"
        "Input options (each text is read as the window reads its box; a text that is\n"
        "no number reads as 0; write --opt=T or --opt T, T may begin with \"-\"):\n";
    for (const InputField& input : kInputFields) {
        std::string option = "  --" + std::string(input.option) + " T";
        option.resize(kUsageOptionWidth, ' ');
        text += option + std::string(input.description);
        if (!input.startText.empty())
            text += " (default " + std::string(input.startText) + ")";
        text += "\n";
    }
    text +=
        "\n"
        "Output:\n"
        "  (default)             one \"Label: text\" line per result; the actual-wire\n"
        "                        lines only with an actual wire\n"
        "  --json                one JSON object: status, message, passes, inputs,\n"
        "                        fields (the texts) and values (21 significant digits,\n"
        "                        angles in radians); fields and values are null when\n"
        "                        the calculation did not converge. Input bytes above\n"
        "                        0x7F are written \\u00XX, read as Latin-1\n"
        "  --batch               CSV (RFC 4180) on standard input, six inputs a row in\n"
        "                        the order above; a first row whose first field names\n"
        "                        the pitch diameter is a header. Writes CSV with CRLF:\n"
        "                        the six inputs, status (converged, noConvergence or\n"
        "                        error), message and the nine result texts\n"
        "  --help, -h            this text\n"
        "\n"
        "Messages: \"High residual error, check results!\" (a warning: the figures are\n"
        "still printed) and \"Inputs out of range!\" (no figures) go to standard error;\n"
        "with --batch they stand in the message column of their row.\n"
        "\n"
        "Exit status:\n"
        "  0  figures for every calculation (a high residual is only a warning)\n"
        "  1  no figures for a calculation: it did not converge, or a batch row was\n"
        "     malformed or did not converge (the other rows are still written)\n"
        "  2  usage error\n"
        "  3  standard input could not be read (or held in memory), or standard\n"
        "     output not written\n";
    return text;
}
