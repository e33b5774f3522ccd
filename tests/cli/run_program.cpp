// Child processes for the end-to-end tests: posix_spawn natively, CreateProcess
// in the Windows build (which itself runs under Wine, so the child runs in the
// same Wine session without going through tools/wine-run again).

#include "run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;

// Exit status reported natively for a child that a signal ended: as shells do.
constexpr int kSignalExitBase = 128;

unsigned long ProcessId()
{
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// Three files per run, named after this process so that parallel tests never share them.
struct StreamFiles {
    fs::path in, out, err;
    explicit StreamFiles(int run)
    {
        const std::string stem =
            "vintrel-calc-test-" + std::to_string(ProcessId()) + "-" + std::to_string(run);
        const fs::path directory = fs::temp_directory_path();
        in = directory / (stem + ".in");
        out = directory / (stem + ".out");
        err = directory / (stem + ".err");
    }
    ~StreamFiles()
    {
        std::error_code ignored;
        fs::remove(in, ignored);
        fs::remove(out, ignored);
        fs::remove(err, ignored);
    }
};

std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

#ifdef _WIN32

// One argument quoted for CommandLineToArgvW and the C runtime: backslashes
// are doubled only where a quote follows them.
std::string QuotedArgument(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

// A path of the build machine as Wine sees it: the root of the Unix file system is drive Z:.
std::string WindowsPath(std::string path)
{
    if (path.starts_with("/"))
        path.insert(0, "Z:");
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

HANDLE OpenInherited(const fs::path& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.wstring().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Spawn(const std::string& program, const std::vector<std::string>& arguments, const StreamFiles& files)
{
    const std::string path = WindowsPath(program);
    std::string commandLine = QuotedArgument(path);
    for (const std::string& argument : arguments) {
        commandLine += ' ';
        commandLine += QuotedArgument(argument);
    }

    const HANDLE in = OpenInherited(files.in, GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = OpenInherited(files.out, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = OpenInherited(files.err, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) {
        ADD_FAILURE() << "cannot start " << path << ": error " << GetLastError();
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

#else

int Spawn(const std::string& program, const std::vector<std::string>& arguments, const StreamFiles& files)
{
    std::vector<char*> argv;
    std::string programArgument = program;
    std::vector<std::string> argumentCopies = arguments;
    argv.push_back(programArgument.data());
    for (std::string& argument : argumentCopies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, files.in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, files.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, files.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        ADD_FAILURE() << "cannot start " << program << ": error " << spawnError;
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        return kSignalExitBase + WTERMSIG(status);
    return WEXITSTATUS(status);
}

#endif

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      std::string_view input)
{
    static int runs = 0;
    const StreamFiles files(++runs);
    {
        std::ofstream in(files.in, std::ios::binary);
        in.write(input.data(), static_cast<std::streamsize>(input.size()));
    }
    ProgramRun run;
    run.exitStatus = Spawn(program, arguments, files);
    run.out = ReadWholeFile(files.out);
    run.err = ReadWholeFile(files.err);
    return run;
}
