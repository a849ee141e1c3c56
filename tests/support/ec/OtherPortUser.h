#pragma once
#include <windows.h>

#include <string>

#include "ecsim/ProgramRun.h"
#include "ecsim/SimHandle.h"

// bus_holder.exe: another program that takes the ports' mutex, as a hardware
// monitor does. It answers through two named manual-reset events of the
// test's own, so a test waits for what it does, never for a time. Still
// running when this goes (a test that failed early), it is ended, which
// leaves the mutex abandoned: free for the next one to take.
class OtherPortUser
{
public:
    // On the simulated EC of this state file and log; empty: the one the
    // test process's ECSIM_* variables name.
    explicit OtherPortUser(const std::string& strStatePath = "", const std::string& strLogPath = "");

    // Returns once it holds the mutex, which it keeps until Go(); then it
    // waits nDelayMs, reads the EC byte at 0x2000, releases and ends.
    bool Hold(int nDelayMs = 0);
    // Returns once it has ended while holding the mutex.
    bool Abandon();
    void Go() { SetEvent(m_hGo.Get()); }
    // Its exit code once it has ended.
    DWORD Wait() { return m_holder.Wait(); }

private:
    static std::string EventName(const char* pszRole);

    std::string m_strReady = EventName("ready"), m_strGo = EventName("go");
    SimKernelHandle m_hReady;
    SimKernelHandle m_hGo;
    ProgramRun m_holder;
};
