#pragma once
// Another process's CPU time and wake-ups under Wine, read from Linux's /proc
// through the Z: drive: GetProcessTimes answers 0 for other processes there.
#include <optional>
#include <string>

struct CpuUse
{
    double dCpuMs;   // time on a CPU, all threads
    unsigned long long nWakeups;   // voluntary context switches: each is a wait that ended
};

namespace LinuxCpu
{
    // The Linux process whose command line contains the text (a unique folder name,
    // say); nothing when there is none or the system has no /proc.
    std::optional<int> UnixPid(const std::string& strCommandLinePart);
    // Sum over the process's threads; nothing when /proc cannot be read.
    std::optional<CpuUse> Cpu(int nUnixPid);
}
