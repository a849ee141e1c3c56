#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <optional>
#include <string>
#include <vector>

#include "base/OwnedHandle.h"

// Ends the processes of the caller's own session that run one of the given
// executable files, each the way it ends by itself, between two of its steps:
// Velkor by the IDOK command posted to its dialogs (its own Exit), velkorctl
// by its stop event (as Ctrl+C). A process still there after the grace time
// (hung, or busy for longer) is terminated.
//
// A process of another session (another user's, or any user's when the
// caller runs as a service in session 0) is left alone: ending it would be
// ending someone else's program, possibly in the middle of an EC access. So
// is one that cannot be opened, since which file it runs is unknown. The
// caller hands those on to whoever can wait for them (Windows Installer
// replaces files in use at the next restart).
class ProgramStopper
{
public:
    // What became of one process that runs one of the files (or may: NotOpened).
    enum class Fate
    {
        Exited,   // ended when asked
        Terminated,   // had not ended when the grace time was up
        OtherSession,   // left running: it is another session's (dwDetail)
        NotOpened,   // left running: it could not be opened or looked at (dwDetail: the error)
        NotEnded,   // this session's, but it could not be terminated either (dwDetail: the error)
    };
    struct Process
    {
        std::wstring strExeName;
        DWORD dwProcessId;
        Fate fate;
        DWORD dwDetail;   // the session for OtherSession, the system's error code for NotOpened and NotEnded
    };
    struct Outcome
    {
        // Why the system would not list its processes; nothing was done then.
        DWORD dwListError = ERROR_SUCCESS;
        DWORD dwSession = 0;   // the caller's own
        std::vector<Process> processes;
    };

    // Full paths; a relative or empty one matches no process.
    explicit ProgramStopper(const std::vector<std::wstring>& exePaths);
    virtual ~ProgramStopper() = default;

    Outcome EndAll(DWORD dwGraceMs) const;

protected:
    // The system calls that decide which processes are found and which may
    // be ended, each answering as the call it is named after (GetLastError
    // included); a test answers for processes that Wine cannot make: another
    // session's, or one this user may not open.
    virtual HANDLE CreateToolhelp32Snapshot() const;
    virtual HANDLE OpenProcess(DWORD dwAccess, DWORD dwProcessId) const;
    virtual BOOL ProcessIdToSessionId(DWORD dwProcessId, DWORD* pdwSession) const;

private:
    // A process of this session to end, by handle: its id may be reused by
    // another program once it has ended.
    struct Running
    {
        OwnedKernelHandle hProcess;
        size_t nIndex;   // its entry in Outcome::processes
    };

    bool HasTargetName(const std::wstring& strExeName) const;
    bool IsTarget(const std::wstring& strImagePath) const;
    // Every process that runs one of the files: this session's go into
    // running, the others into the outcome as left running.
    bool FindProcesses(Outcome& outcome, std::vector<Running>& running) const;
    // Nothing for a program of the same name elsewhere; a process to end
    // (Fate::Exited, until it turns out otherwise) comes with its handle.
    std::optional<Process> Examine(const PROCESSENTRY32W& entry, DWORD dwSession, OwnedKernelHandle& hProcess) const;
    static void AskToEnd(const std::vector<Running>& running);
    static std::vector<Running> WaitForEnd(std::vector<Running> running, DWORD dwTimeoutMs);

    std::vector<std::wstring> m_exePaths;   // long forms
};
