#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// Ends every process of this window station that runs one executable file, the
// way Velkor's own Exit does: the IDOK command posted to its dialogs ends it
// between two messages, never in the middle of an EC access. A process that
// has not gone after the grace time (hung, or without a window here) is
// terminated.
class ProgramStopper
{
public:
    explicit ProgramStopper(const std::wstring& strExePath);

    // How many processes still run the file when the call returns: those that
    // would not end, or that this user may not end.
    size_t EndAll(DWORD dwGraceMs) const;

private:
    struct HandleCloser
    {
        void operator()(HANDLE h) const { ::CloseHandle(h); }
    };
    using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

    // Handles, not process ids: an id may be reused by another program once
    // its process has ended.
    std::vector<UniqueHandle> OpenProcesses() const;
    UniqueHandle OpenIfRunsTheFile(DWORD dwProcessId) const;
    static void PostExitCommands(const std::vector<UniqueHandle>& processes);
    static std::vector<UniqueHandle> WaitForEnd(std::vector<UniqueHandle> processes, DWORD dwTimeoutMs);

    std::wstring m_strExePath;
    std::wstring m_strExeName;
};
