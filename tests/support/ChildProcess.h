#pragma once
#include <windows.h>

#include "base/OwnedHandle.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A program started as a separate process, with a chosen working folder and extra
// environment variables on top of the test's own. The process is ended when the
// object goes, so a failing test leaves nothing running.
class ChildProcess
{
public:
    using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(
        const std::wstring& strExe, const std::wstring& strArgs, const std::wstring& strWorkDir,
        const Environment& extraEnv
    );
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD Pid() const { return m_dwPid; }
    HANDLE Handle() const { return m_process.Get(); }

    bool IsRunning() const;
    // Waits up to dwTimeoutMs; true when the process has ended.
    bool WaitForExit(DWORD dwTimeoutMs) const;
    // The exit status once the process has ended, nothing while it runs.
    std::optional<DWORD> ExitCode() const;

private:
    OwnedKernelHandle m_process;
    DWORD m_dwPid = 0;
};
