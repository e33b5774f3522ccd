// vintrel-calc: the Vintrel calculator on the command line, for scripts, batch
// work and machines without a Windows desktop. Reads its arguments (and, for
// --batch, standard input), makes its report, and writes it.

#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "options.h"
#include "reports.h"

namespace {

constexpr std::string_view kProgramPrefix = "vintrel-calc: ";
constexpr std::size_t kReadChunkSize = 65536;

// Bytes in and out as they are: without this the Windows runtime would turn
// LF into CRLF on output (CRLF into CRCRLF in the CSV) and stop reading at ^Z.
void UseBinaryStreams()
{
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

// All of standard input; false when it could not be read.
bool ReadStandardInput(std::string& text)
{
    std::vector<char> chunk(kReadChunkSize);
    for (;;) {
        const std::size_t count = std::fread(chunk.data(), 1, chunk.size(), stdin);
        text.append(chunk.data(), count);
        if (count < chunk.size())
            return std::ferror(stdin) == 0;
    }
}

// False when not every byte reached the stream.
bool Write(std::FILE* stream, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

// The report the command line asks for; only --batch reads anything first.
Report Run(const CommandLine& commandLine)
{
    switch (commandLine.mode) {
    case RunMode::Help:
        return Report{UsageText(), {}, kExitFigures};
    case RunMode::Json:
        return JsonReport(commandLine.inputs);
    case RunMode::Batch: {
        std::string csv;
        if (!ReadStandardInput(csv))
            return Report{{}, std::string(kProgramPrefix) + "cannot read standard input\n", kExitInputOutput};
        return BatchReport(csv);
    }
    case RunMode::Text:
        break;
    }
    return TextReport(commandLine.inputs);
}

// Everything but the last-resort catch: parse, report, write; returns the exit status.
int RunProgram(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLineParse parse = ParseCommandLine(arguments);
    if (!parse.error.empty()) {
        Write(stderr, std::string(kProgramPrefix) + parse.error + " (see --help)\n");
        return kExitUsage;
    }

    Report report = Run(parse.commandLine);
    // Figures that never reached their reader must not pass for success.
    if (!Write(stdout, report.out) || std::fflush(stdout) != 0) {
        report.err += std::string(kProgramPrefix) + "cannot write standard output\n";
        report.exitStatus = kExitInputOutput;
    }
    Write(stderr, report.err);
    return report.exitStatus;
}

}  // namespace

int main(int argc, char** argv)
{
    UseBinaryStreams();
    try {
        return RunProgram(argc, argv);
    } catch (const std::bad_alloc&) {
        // A batch input larger than the machine can hold.
        Write(stderr, std::string(kProgramPrefix) + "out of memory\n");
        return kExitInputOutput;
    }
}
