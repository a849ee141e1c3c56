#include "tests/bench/LinuxCpu.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
    const char PROC_ROOT[] = "Z:\\proc\\";

    // The whole of a small /proc file (their sizes read as 0, so read to the end).
    std::optional<std::string> ReadProcFile(const std::string& strPath)
    {
        HANDLE h = CreateFileA(
            strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr
        );
        if (h == INVALID_HANDLE_VALUE)
            return std::nullopt;
        std::string strText;
        char buf[4096];
        DWORD cb = 0;
        while (ReadFile(h, buf, sizeof buf, &cb, nullptr) && cb > 0)
            strText.append(buf, cb);
        CloseHandle(h);
        return strText;
    }

    // Names of the entries of a /proc folder that are numbers (processes, threads).
    std::vector<std::string> NumericEntries(const std::string& strFolder)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA fd;
        HANDLE hFind = FindFirstFileA((strFolder + "*").c_str(), &fd);
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do
        {
            if (fd.cFileName[0] >= '0' && fd.cFileName[0] <= '9')
                names.push_back(fd.cFileName);
        } while (FindNextFileA(hFind, &fd));
        FindClose(hFind);
        return names;
    }

    unsigned long long FieldAfter(const std::string& strText, const char* pszLabel)
    {
        const size_t n = strText.find(pszLabel);
        return n == std::string::npos ? 0 : std::strtoull(strText.c_str() + n + std::strlen(pszLabel), nullptr, 10);
    }
}

std::optional<int> LinuxCpu::UnixPid(const std::string& strCommandLinePart)
{
    for (const std::string& strPid : NumericEntries(PROC_ROOT))
    {
        const auto cmdline = ReadProcFile(PROC_ROOT + strPid + "\\cmdline");
        if (cmdline && cmdline->find(strCommandLinePart) != std::string::npos)
            return std::atoi(strPid.c_str());
    }
    return std::nullopt;
}

std::optional<CpuUse> LinuxCpu::Cpu(int nUnixPid)
{
    const std::string strTasks = PROC_ROOT + std::to_string(nUnixPid) + "\\task\\";
    CpuUse use = {0, 0};
    bool bAny = false;
    for (const std::string& strTid : NumericEntries(strTasks))
    {
        // schedstat: nanoseconds on a CPU, nanoseconds waiting to run, time slices.
        const auto sched = ReadProcFile(strTasks + strTid + "\\schedstat");
        const auto status = ReadProcFile(strTasks + strTid + "\\status");
        if (!sched || !status)
            continue;
        use.dCpuMs += std::strtoull(sched->c_str(), nullptr, 10) / 1e6;
        use.nWakeups += FieldAfter(*status, "\nvoluntary_ctxt_switches:");
        bAny = true;
    }
    return bAny ? std::optional<CpuUse>(use) : std::nullopt;
}
