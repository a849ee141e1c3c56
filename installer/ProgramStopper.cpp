#include "ProgramStopper.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

#include "cli/CtrlBreak.h"

namespace
{
    // The exit status of a process that had to be terminated: Velkor's and
    // velkorctl's own ways out end with 0.
    constexpr UINT TERMINATED_EXIT_CODE = 1;

    bool SameName(const std::wstring& a, const std::wstring& b)
    {
        return ::CompareStringOrdinal(
                   a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE
               ) == CSTR_EQUAL;
    }

    std::wstring FileName(const std::wstring& strPath)
    {
        const size_t nSlash = strPath.find_last_of(L"\\/");
        return nSlash == std::wstring::npos ? strPath : strPath.substr(nSlash + 1);
    }

    // The long form of a path, so that an 8.3 spelling of the same file compares equal.
    std::wstring LongPath(const std::wstring& strPath)
    {
        DWORD cch = ::GetLongPathNameW(strPath.c_str(), nullptr, 0);
        if (cch == 0)
            return strPath;
        std::wstring strLong(cch, L'\0');
        cch = ::GetLongPathNameW(strPath.c_str(), strLong.data(), cch);
        strLong.resize(cch);
        return strLong;
    }

    bool ImagePath(HANDLE hProcess, std::wstring& strImage)
    {
        strImage.assign(MAX_PATH, L'\0');
        DWORD cch = static_cast<DWORD>(strImage.size());
        while (!::QueryFullProcessImageNameW(hProcess, 0, strImage.data(), &cch))
        {
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
                return false;
            strImage.resize(strImage.size() * 2);
            cch = static_cast<DWORD>(strImage.size());
        }
        strImage.resize(cch);
        return true;
    }

    BOOL CALLBACK PostExitToDialog(HWND hWnd, LPARAM lParam)
    {
        const auto& processIds = *reinterpret_cast<const std::vector<DWORD>*>(lParam);
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        wchar_t szClass[8] = {};
        if (std::find(processIds.begin(), processIds.end(), dwProcessId) != processIds.end() &&
            ::GetClassNameW(hWnd, szClass, static_cast<int>(std::size(szClass))) > 0 &&
            std::wcscmp(szClass, L"#32770") == 0)
        {
            // Every dialog gets it: the main one ends the process, a modal one
            // in front of it (About) closes and lets the main one's arrive.
            ::PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
}

ProgramStopper::ProgramStopper(const std::vector<std::wstring>& exePaths)
{
    for (const std::wstring& strPath : exePaths)
        m_exePaths.push_back(LongPath(strPath));
}

ProgramStopper::Outcome ProgramStopper::EndAll(DWORD dwGraceMs) const
{
    Outcome outcome;
    std::vector<Running> running;
    if (!FindProcesses(outcome, running))
        return outcome;
    AskToEnd(running);
    std::vector<Running> terminated;
    for (Running& process : WaitForEnd(std::move(running), dwGraceMs))
    {
        Process& entry = outcome.processes[process.nIndex];
        if (::TerminateProcess(process.hProcess.Get(), TERMINATED_EXIT_CODE))
        {
            entry.fate = Fate::Terminated;
            terminated.push_back(std::move(process));
        }
        else
        {
            entry.fate = Fate::NotEnded;
            entry.dwDetail = ::GetLastError();
        }
    }
    for (const Running& process : WaitForEnd(std::move(terminated), dwGraceMs))
    {
        Process& entry = outcome.processes[process.nIndex];
        entry.fate = Fate::NotEnded;
        entry.dwDetail = WAIT_TIMEOUT;
    }
    return outcome;
}

HANDLE ProgramStopper::CreateToolhelp32Snapshot() const
{
    return ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
}

HANDLE ProgramStopper::OpenProcess(DWORD dwAccess, DWORD dwProcessId) const
{
    return ::OpenProcess(dwAccess, FALSE, dwProcessId);
}

BOOL ProgramStopper::ProcessIdToSessionId(DWORD dwProcessId, DWORD* pdwSession) const
{
    return ::ProcessIdToSessionId(dwProcessId, pdwSession);
}

bool ProgramStopper::HasTargetName(const std::wstring& strExeName) const
{
    return std::any_of(m_exePaths.begin(), m_exePaths.end(), [&](const std::wstring& strPath) {
        return SameName(FileName(strPath), strExeName);
    });
}

bool ProgramStopper::IsTarget(const std::wstring& strImagePath) const
{
    const std::wstring strLong = LongPath(strImagePath);
    return std::any_of(m_exePaths.begin(), m_exePaths.end(), [&](const std::wstring& strPath) {
        return SameName(strPath, strLong);
    });
}

bool ProgramStopper::FindProcesses(Outcome& outcome, std::vector<Running>& running) const
{
    const OwnedKernelHandle hSnapshot(CreateToolhelp32Snapshot());
    if (!hSnapshot || !ProcessIdToSessionId(::GetCurrentProcessId(), &outcome.dwSession))
    {
        outcome.dwListError = ::GetLastError();
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32FirstW(hSnapshot.Get(), &entry); bMore;
         bMore = ::Process32NextW(hSnapshot.Get(), &entry))
    {
        // The name first: opening every process of the system would be slow.
        if (!HasTargetName(entry.szExeFile))
            continue;
        OwnedKernelHandle hProcess;
        if (std::optional<Process> process = Examine(entry, outcome.dwSession, hProcess))
        {
            if (hProcess)
                running.push_back({std::move(hProcess), outcome.processes.size()});
            outcome.processes.push_back(std::move(*process));
        }
    }
    // The list ends with ERROR_NO_MORE_FILES; anything else broke it off.
    if (const DWORD dwError = ::GetLastError(); dwError != ERROR_NO_MORE_FILES)
    {
        outcome.dwListError = dwError;
        return false;
    }
    return true;
}

std::optional<ProgramStopper::Process> ProgramStopper::Examine(
    const PROCESSENTRY32W& entry, DWORD dwSession, OwnedKernelHandle& hProcess
) const
{
    const auto found = [&](Fate fate, DWORD dwDetail) {
        return Process{entry.szExeFile, entry.th32ProcessID, fate, dwDetail};
    };
    const DWORD dwAccess = PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;
    OwnedKernelHandle hOpened(OpenProcess(dwAccess | PROCESS_TERMINATE, entry.th32ProcessID));
    if (!hOpened)
        hOpened.Reset(OpenProcess(dwAccess, entry.th32ProcessID));   // it can still be asked to end
    std::wstring strImage;
    if (!hOpened || !ImagePath(hOpened.Get(), strImage))
        return found(Fate::NotOpened, ::GetLastError());
    if (!IsTarget(strImage))
        return std::nullopt;
    DWORD dwProcessSession = 0;
    if (!ProcessIdToSessionId(entry.th32ProcessID, &dwProcessSession))
        return found(Fate::NotOpened, ::GetLastError());
    if (dwProcessSession != dwSession)
        return found(Fate::OtherSession, dwProcessSession);
    hProcess = std::move(hOpened);
    return found(Fate::Exited, 0);
}

void ProgramStopper::AskToEnd(const std::vector<Running>& running)
{
    std::vector<DWORD> processIds;
    for (const Running& process : running)
    {
        const DWORD dwProcessId = ::GetProcessId(process.hProcess.Get());
        processIds.push_back(dwProcessId);
        // velkorctl's; other programs have none.
        const std::wstring strStop = CtrlBreak::StopEventName(dwProcessId);
        if (const OwnedKernelHandle hStop(::OpenEventW(EVENT_MODIFY_STATE, FALSE, strStop.c_str())); hStop)
            ::SetEvent(hStop.Get());
    }
    ::EnumWindows(PostExitToDialog, reinterpret_cast<LPARAM>(&processIds));
}

std::vector<ProgramStopper::Running> ProgramStopper::WaitForEnd(std::vector<Running> running, DWORD dwTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    std::vector<Running> stillRunning;
    for (Running& process : running)
    {
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (::WaitForSingleObject(process.hProcess.Get(), dwElapsed < dwTimeoutMs ? dwTimeoutMs - dwElapsed : 0) !=
            WAIT_OBJECT_0)
            stillRunning.push_back(std::move(process));
    }
    return stillRunning;
}
