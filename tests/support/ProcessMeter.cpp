#include "tests/support/ProcessMeter.h"

#include "tests/support/WindowQuery.h"

#include <psapi.h>

namespace
{
    BOOL CALLBACK CountWindow(HWND, LPARAM lParam)
    {
        ++*reinterpret_cast<unsigned*>(lParam);
        return TRUE;
    }
}

std::optional<MemoryUse> ProcessMeter::Memory(HANDLE hProcess)
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    const std::optional<size_t> cbPrivate = CommittedPrivate(hProcess);
    if (!cbPrivate || !GetProcessMemoryInfo(hProcess, &pmc, sizeof pmc))
        return std::nullopt;
    return MemoryUse{*cbPrivate, pmc.WorkingSetSize, pmc.PeakWorkingSetSize};
}

std::optional<size_t> ProcessMeter::CommittedPrivate(HANDLE hProcess)
{
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    size_t cbCommitted = 0;
    auto* pAddress = static_cast<BYTE*>(info.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION region = {};
    while (pAddress < info.lpMaximumApplicationAddress &&
           VirtualQueryEx(hProcess, pAddress, &region, sizeof region) == sizeof region)
    {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            cbCommitted += region.RegionSize;
        pAddress = static_cast<BYTE*>(region.BaseAddress) + region.RegionSize;
    }
    if (cbCommitted == 0)
        return std::nullopt;   // the process could not be read
    return cbCommitted;
}

unsigned ProcessMeter::Windows(DWORD dwPid)
{
    unsigned nWindows = 0;
    for (HWND hWnd : WindowQuery::TopLevelWindows(dwPid, true))
    {
        ++nWindows;
        EnumChildWindows(hWnd, CountWindow, reinterpret_cast<LPARAM>(&nWindows));
    }
    return nWindows;
}
