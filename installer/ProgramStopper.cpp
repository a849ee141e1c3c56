#include "ProgramStopper.h"

#include <tlhelp32.h>

#include <algorithm>
#include <utility>

namespace
{
    // The exit status of a process that had to be terminated: Velkor's own
    // ways out end with 0.
    constexpr UINT TERMINATED_EXIT_CODE = 1;

    bool SameName(const std::wstring& a, const std::wstring& b)
    {
        return ::CompareStringOrdinal(
                   a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE
               ) == CSTR_EQUAL;
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

    BOOL CALLBACK PostExitToDialog(HWND hWnd, LPARAM lParam)
    {
        const auto& processIds = *reinterpret_cast<const std::vector<DWORD>*>(lParam);
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        wchar_t szClass[8] = {};
        if (std::find(processIds.begin(), processIds.end(), dwProcessId) != processIds.end() &&
            ::GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass)) > 0 && wcscmp(szClass, L"#32770") == 0)
        {
            // Every dialog gets it: the main one ends the process, a modal one
            // in front of it (About) closes and lets the main one's arrive.
            ::PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
}

ProgramStopper::ProgramStopper(const std::wstring& strExePath)
    : m_strExePath(LongPath(strExePath))
{
    size_t nSlash = m_strExePath.find_last_of(L"\\/");
    m_strExeName = nSlash == std::wstring::npos ? m_strExePath : m_strExePath.substr(nSlash + 1);
}

size_t ProgramStopper::EndAll(DWORD dwGraceMs) const
{
    std::vector<UniqueHandle> processes = OpenProcesses();
    if (processes.empty())
        return 0;
    PostExitCommands(processes);
    processes = WaitForEnd(std::move(processes), dwGraceMs);
    for (const UniqueHandle& hProcess : processes)
        ::TerminateProcess(hProcess.get(), TERMINATED_EXIT_CODE);
    return WaitForEnd(std::move(processes), dwGraceMs).size();
}

std::vector<ProgramStopper::UniqueHandle> ProgramStopper::OpenProcesses() const
{
    std::vector<UniqueHandle> processes;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return processes;
    UniqueHandle snapshot(hSnapshot);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32FirstW(hSnapshot, &entry); bMore; bMore = ::Process32NextW(hSnapshot, &entry))
    {
        // The name first: opening every process of the system would be slow.
        if (!SameName(entry.szExeFile, m_strExeName))
            continue;
        if (UniqueHandle hProcess = OpenIfRunsTheFile(entry.th32ProcessID))
            processes.push_back(std::move(hProcess));
    }
    return processes;
}

ProgramStopper::UniqueHandle ProgramStopper::OpenIfRunsTheFile(DWORD dwProcessId) const
{
    const DWORD dwAccess = PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;
    UniqueHandle hProcess(::OpenProcess(dwAccess | PROCESS_TERMINATE, FALSE, dwProcessId));
    if (!hProcess)
        hProcess.reset(::OpenProcess(dwAccess, FALSE, dwProcessId));   // it can still be asked to end
    if (!hProcess)
        return nullptr;
    std::wstring strImage(MAX_PATH, L'\0');
    DWORD cch = static_cast<DWORD>(strImage.size());
    while (!::QueryFullProcessImageNameW(hProcess.get(), 0, strImage.data(), &cch))
    {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return nullptr;
        strImage.resize(strImage.size() * 2);
        cch = static_cast<DWORD>(strImage.size());
    }
    strImage.resize(cch);
    return SameName(LongPath(strImage), m_strExePath) ? std::move(hProcess) : nullptr;
}

void ProgramStopper::PostExitCommands(const std::vector<UniqueHandle>& processes)
{
    std::vector<DWORD> processIds;
    for (const UniqueHandle& hProcess : processes)
        processIds.push_back(::GetProcessId(hProcess.get()));
    ::EnumWindows(PostExitToDialog, reinterpret_cast<LPARAM>(&processIds));
}

std::vector<ProgramStopper::UniqueHandle> ProgramStopper::WaitForEnd(
    std::vector<UniqueHandle> processes, DWORD dwTimeoutMs
)
{
    const DWORD dwStart = ::GetTickCount();
    std::vector<UniqueHandle> running;
    for (UniqueHandle& hProcess : processes)
    {
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (::WaitForSingleObject(hProcess.get(), dwElapsed < dwTimeoutMs ? dwTimeoutMs - dwElapsed : 0) !=
            WAIT_OBJECT_0)
            running.push_back(std::move(hProcess));
    }
    return running;
}
