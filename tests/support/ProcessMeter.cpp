#include "tests/support/ProcessMeter.h"

#include <psapi.h>

namespace
{
    BOOL CALLBACK CountWindow(HWND, LPARAM lParam)
    {
        ++*reinterpret_cast<unsigned*>(lParam);
        return TRUE;
    }

    struct TopLevelCount
    {
        DWORD dwPid;
        unsigned nWindows;
    };

    BOOL CALLBACK CountTopLevel(HWND hWnd, LPARAM lParam)
    {
        auto* pCount = reinterpret_cast<TopLevelCount*>(lParam);
        DWORD dwPid = 0;
        GetWindowThreadProcessId(hWnd, &dwPid);
        if (dwPid == pCount->dwPid)
        {
            ++pCount->nWindows;
            EnumChildWindows(hWnd, CountWindow, reinterpret_cast<LPARAM>(&pCount->nWindows));
        }
        return TRUE;
    }
}

std::optional<MemoryUse> ProcessMeter::Memory(HANDLE hProcess)
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(hProcess, &pmc, sizeof pmc))
        return std::nullopt;
    return MemoryUse{pmc.WorkingSetSize, pmc.PeakWorkingSetSize, pmc.PagefileUsage, pmc.PeakPagefileUsage};
}

unsigned ProcessMeter::Windows(DWORD dwPid)
{
    TopLevelCount count = {dwPid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count.nWindows;
}
