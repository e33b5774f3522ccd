// What the soak watches in the calculator process from outside: its USER and
// GDI objects, its kernel handles and its memory, sampled as the run goes on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace soak {

// One look at the process. Counts the platform does not report read 0 (Wine 8
// answers 0 for the object and handle counts).
struct ProcessSample {
    int calculation = 0;            // calculations done when the sample was taken
    DWORD userObjects = 0;          // GetGuiResources(GR_USEROBJECTS)
    DWORD gdiObjects = 0;           // GetGuiResources(GR_GDIOBJECTS)
    DWORD handles = 0;              // GetProcessHandleCount
    std::size_t privateBytes = 0;   // PrivateUsage: committed memory of its own
    std::size_t pagefileBytes = 0;  // PagefileUsage
    std::size_t workingSetBytes = 0;
};

// A handle on the watched process, opened for queries and for ending it when
// the soak is stuck; closed when this goes.
class ProcessWatch {
public:
    explicit ProcessWatch(DWORD processId);
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;
    ~ProcessWatch();

    bool Opened() const { return process_ != nullptr; }

    // Nullopt if the process could not be queried at all.
    std::optional<ProcessSample> Sample(int calculation) const;

    // Ends the process with `exitCode` (for a soak that has given up on it).
    void Terminate(UINT exitCode) const;

private:
    HANDLE process_ = nullptr;
};

}  // namespace soak
