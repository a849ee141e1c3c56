#pragma once
// One start of a program from a TestInstall, as the benchmarks drive it (Velkor
// and the baseline alike): wait for its first painted window, click its buttons
// by message, and read what it costs (memory, GDI objects, windows, CPU).
#include "tests/bench/LinuxCpu.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProcessMeter.h"
#include "tests/support/TestInstall.h"
#include "tests/support/VelkorSession.h"

#include <memory>
#include <optional>
#include <string>

class RunningProgram
{
public:
    // Starts the program; the clock for StartupMs starts here.
    RunningProgram(const TestInstall& install, const ChildProcess::Environment& extraEnv = {});

    // Waits until the main window is visible and it and its visible controls have
    // no part left to paint. False when that does not happen in time.
    bool WaitPainted(unsigned nTimeoutMs = 20000);
    // Milliseconds from the start to the first time WaitPainted saw it painted.
    double StartupMs() const { return m_dStartupMs; }

    HWND Main() const { return m_hMain; }
    HWND Control(int nId) const { return GetDlgItem(m_hMain, nId); }
    ChildProcess& Process() { return *m_pProcess; }

    // A click on a button, handled when this returns: the time it took, in ms.
    std::optional<double> Click(int nId) { return VelkorSession::ClickButton(Control(nId)); }

    std::optional<MemoryUse> Memory() const { return ProcessMeter::Memory(m_pProcess->Handle()); }
    std::optional<unsigned> GdiObjects() const;
    unsigned Windows() const { return ProcessMeter::Windows(m_pProcess->Pid()); }
    // Linux's view of the process's CPU use (Wine only).
    std::optional<CpuUse> Cpu();

private:
    static double Now();
    bool IsPainted(HWND hWnd) const;

    std::unique_ptr<ChildProcess> m_pProcess;
    std::string m_strCommandLineTag;
    double m_dStartMs;
    double m_dStartupMs = 0;
    HWND m_hMain = nullptr;
    std::optional<int> m_nUnixPid;
};
