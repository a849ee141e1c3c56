#include "tests/bench/RunningProgram.h"

#include "tests/support/GdiCount.h"
#include "tests/support/Text.h"
#include "tests/support/WindowQuery.h"

#include <vector>

RunningProgram::RunningProgram(const TestInstall& install, const ChildProcess::Environment& extraEnv)
    : m_strCommandLineTag(Text::ToUtf8(install.Root().substr(install.Root().find_last_of(L'\\') + 1))),
      m_dStartMs(Now())
{
    m_pProcess = install.Start(extraEnv);
}

double RunningProgram::Now()
{
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

bool RunningProgram::IsPainted(HWND hWnd) const
{
    if (GetUpdateRect(hWnd, nullptr, FALSE))
        return false;
    for (HWND hChild : WindowQuery::Children(hWnd))
        if (IsWindowVisible(hChild) && GetUpdateRect(hChild, nullptr, FALSE))
            return false;
    return true;
}

bool RunningProgram::WaitPainted(unsigned nTimeoutMs)
{
    const double dEnd = Now() + nTimeoutMs;
    while (Now() < dEnd && m_pProcess->IsRunning())
    {
        HWND hMain = WindowQuery::MainWindow(m_pProcess->Pid());
        if (hMain && IsPainted(hMain))
        {
            m_dStartupMs = Now() - m_dStartMs;
            m_hMain = hMain;
            return true;
        }
        Sleep(1);
    }
    return false;
}

std::optional<unsigned> RunningProgram::GdiObjects() const
{
    return GdiCount::Of(m_pProcess->Handle());
}

std::optional<CpuUse> RunningProgram::Cpu()
{
    if (!m_nUnixPid)
        m_nUnixPid = LinuxCpu::UnixPid(m_strCommandLineTag);
    return m_nUnixPid ? LinuxCpu::Cpu(*m_nUnixPid) : std::nullopt;
}
