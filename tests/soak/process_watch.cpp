// Resource figures of another process through the platform's process queries.

#include "process_watch.h"

#include <psapi.h>

namespace soak {

ProcessWatch::ProcessWatch(DWORD processId)
    : process_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE, FALSE, processId))
{
}

ProcessWatch::~ProcessWatch()
{
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

std::optional<ProcessSample> ProcessWatch::Sample(int calculation) const
{
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (process_ == nullptr ||
        !GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        return std::nullopt;
    }
    ProcessSample sample;
    sample.calculation = calculation;
    sample.userObjects = GetGuiResources(process_, GR_USEROBJECTS);
    sample.gdiObjects = GetGuiResources(process_, GR_GDIOBJECTS);
    if (!GetProcessHandleCount(process_, &sample.handles)) {
        sample.handles = 0;
    }
    sample.privateBytes = memory.PrivateUsage;
    sample.pagefileBytes = memory.PagefileUsage;
    sample.workingSetBytes = memory.WorkingSetSize;
    return sample;
}

void ProcessWatch::Terminate(UINT exitCode) const
{
    if (process_ != nullptr) {
        TerminateProcess(process_, exitCode);
    }
}

}  // namespace soak
