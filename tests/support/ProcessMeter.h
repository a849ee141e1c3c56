#pragma once
// What another process holds: memory and windows.
#include <windows.h>

#include <optional>

struct MemoryUse
{
    size_t cbWorkingSet;
    size_t cbPeakWorkingSet;
    size_t cbPrivate;   // committed private memory (PagefileUsage)
    size_t cbPeakPrivate;
};

namespace ProcessMeter
{
    std::optional<MemoryUse> Memory(HANDLE hProcess);

    // USER objects that can be counted from outside: the process's windows, top-level
    // (shown or hidden) and every descendant.
    unsigned Windows(DWORD dwPid);
}
