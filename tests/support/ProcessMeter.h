#pragma once
// What another process costs: memory, windows, and (under Wine, from Linux's
// /proc through the Z: drive) CPU time and wake-ups. GetProcessTimes answers 0
// for other processes under Wine, hence /proc.
#include <windows.h>

#include <optional>
#include <string>

struct MemoryUse
{
    size_t cbWorkingSet;
    size_t cbPeakWorkingSet;
    size_t cbPrivate;       // committed private memory (PagefileUsage)
    size_t cbPeakPrivate;
};

struct CpuUse
{
    double dCpuMs;                 // time on a CPU, all threads
    unsigned long long nWakeups;   // voluntary context switches: each is a wait that ended
};

namespace ProcessMeter
{
    std::optional<MemoryUse> Memory(HANDLE hProcess);

    // USER objects that can be counted from outside: the process's windows, top-level
    // (shown or hidden) and every descendant.
    unsigned Windows(DWORD dwPid);

    // The Linux process whose command line contains the text (a unique folder name,
    // say); nothing when there is none or the system has no /proc.
    std::optional<int> UnixPid(const std::string& strCommandLinePart);
    // Sum over the process's threads; nothing when /proc cannot be read.
    std::optional<CpuUse> Cpu(int nUnixPid);
}
