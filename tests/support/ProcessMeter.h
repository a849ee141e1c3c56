#pragma once
// What another process holds: memory and windows.
#include <windows.h>

#include <optional>

struct MemoryUse
{
    // Committed private memory as the process's own address space shows it:
    // what its heaps, stacks and allocations take, and nothing of the host's
    // (an emulator's translated code and its own allocations stay outside).
    size_t cbPrivate;
    // The working set as the system reports it; where an emulator runs the
    // process, the host counts the emulator's pages as well.
    size_t cbWorkingSet;
    size_t cbPeakWorkingSet;
};

namespace ProcessMeter
{
    std::optional<MemoryUse> Memory(HANDLE hProcess);

    // The committed private regions of the process's address space, added up.
    std::optional<size_t> CommittedPrivate(HANDLE hProcess);

    // USER objects that can be counted from outside: the process's windows, top-level
    // (shown or hidden) and every descendant.
    unsigned Windows(DWORD dwPid);
}
