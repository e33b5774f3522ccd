// vintrel-calc's arguments: both spellings of an input option, texts that look
// like options or numbers with commas, the output modes, and every usage error.

#include "options.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Indexes into kInputFields.
constexpr std::size_t kTpi = 1;
constexpr std::size_t kStarts = 2;
constexpr std::size_t kBacklash = 4;
constexpr std::size_t kActualWire = 5;

CommandLineParse Parse(const std::vector<std::string_view>& arguments)
{
    return ParseCommandLine(arguments);
}

struct GoodCase {
    const char* name;
    std::vector<std::string_view> arguments;
    RunMode mode;
    std::size_t input;      // the input the arguments set, if any
    const char* inputText;  // nullptr: every input keeps its start text
};

const GoodCase kGoodCases[] = {
    {"nothing", {}, RunMode::Text, 0, nullptr},
    {"attached text", {"--tpi=8"}, RunMode::Text, kTpi, "8"},
    {"separate text", {"--tpi", "8"}, RunMode::Text, kTpi, "8"},
    {"negative separate text", {"--backlash", "-1"}, RunMode::Text, kBacklash, "-1"},
    {"negative attached text", {"--backlash=-1"}, RunMode::Text, kBacklash, "-1"},
    {"empty attached text", {"--actual-wire="}, RunMode::Text, kActualWire, ""},
    {"empty separate text", {"--actual-wire", ""}, RunMode::Text, kActualWire, ""},
    {"text kept raw", {"--tpi", " 1,025 in."}, RunMode::Text, kTpi, " 1,025 in."},
    {"text with '='", {"--tpi=a=b"}, RunMode::Text, kTpi, "a=b"},
    {"the next argument is the text, whatever it is", {"--starts", "--json"}, RunMode::Text, kStarts,
     "--json"},
    {"json after an input", {"--tpi", "3", "--json"}, RunMode::Json, kTpi, "3"},
    {"batch", {"--batch"}, RunMode::Batch, 0, nullptr},
    {"help", {"--help"}, RunMode::Help, 0, nullptr},
    {"short help", {"-h"}, RunMode::Help, 0, nullptr},
    {"help wins over json", {"--json", "--help"}, RunMode::Help, 0, nullptr},
};

TEST(OptionsTest, CommandLines)
{
    for (const GoodCase& c : kGoodCases) {
        SCOPED_TRACE(c.name);
        const CommandLineParse parse = Parse(c.arguments);
        ASSERT_EQ("", parse.error);
        EXPECT_EQ(c.mode, parse.commandLine.mode);
        InputTexts want = StartInputTexts();
        if (c.inputText != nullptr)
            want[c.input] = c.inputText;
        EXPECT_EQ(want, parse.commandLine.inputs);
    }
}

TEST(OptionsTest, DefaultsAreTheWindowsStartTexts)
{
    const InputTexts want = {"1.025", "5", "4", "14.5", "0.0004", ""};
    EXPECT_EQ(want, Parse({}).commandLine.inputs);
}

struct BadCase {
    std::vector<std::string_view> arguments;
    std::string_view error;
};

const BadCase kBadCases[] = {
    {{"5"}, "unexpected argument '5'"},
    {{"-"}, "unexpected argument '-'"},
    {{"--"}, "unexpected argument '--'"},
    {{"-x"}, "unexpected argument '-x'"},
    {{"--bogus"}, "unknown option '--bogus'"},
    {{"--bogus=1"}, "unknown option '--bogus'"},
    {{"--TPI=5"}, "unknown option '--TPI'"},
    {{"--tpi"}, "option '--tpi' needs a text"},
    {{"--json", "--tpi"}, "option '--tpi' needs a text"},
    {{"--tpi", "1", "--tpi=2"}, "option '--tpi' given more than once"},
    {{"--json", "--json"}, "option '--json' given more than once"},
    {{"--json=yes"}, "option '--json' takes no text"},
    {{"--help="}, "option '--help' takes no text"},
    {{"--json", "--batch"}, "options '--json' and '--batch' exclude each other"},
    {{"--batch", "--tpi", "5"}, "option '--batch' reads its inputs from standard input, not from options"},
    {{"--x\ny"}, "unknown option '--x\\x0Ay'"},
};

TEST(OptionsTest, UsageErrors)
{
    for (const BadCase& c : kBadCases) {
        const CommandLineParse parse = Parse(c.arguments);
        EXPECT_EQ(c.error, parse.error) << "first argument " << c.arguments.front();
    }
}

}  // namespace
