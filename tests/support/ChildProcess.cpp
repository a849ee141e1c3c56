#include "tests/support/ChildProcess.h"

#include "tests/support/Text.h"

#include <cwchar>
#include <map>
#include <stdexcept>
#include <string>

namespace
{
    // Case-insensitive names, as Windows treats environment variables.
    struct NoCaseLess
    {
        bool operator()(const std::wstring& a, const std::wstring& b) const
        {
            return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
        }
    };

    // The test's environment with the extra variables set over it, as a block
    // for CreateProcessW (sorted, each "NAME=value\0", ending in an extra "\0").
    std::wstring BuildEnvironmentBlock(const ChildProcess::Environment& extraEnv)
    {
        std::map<std::wstring, std::wstring, NoCaseLess> vars;
        wchar_t* pBlock = GetEnvironmentStringsW();
        for (const wchar_t* p = pBlock; *p; p += wcslen(p) + 1)
        {
            std::wstring strEntry = p;
            size_t nEq = strEntry.find(L'=', 1);   // entries like "=C:=C:\" start with '='
            if (nEq != std::wstring::npos)
                vars[strEntry.substr(0, nEq)] = strEntry.substr(nEq + 1);
        }
        FreeEnvironmentStringsW(pBlock);
        for (const auto& [strName, strValue] : extraEnv)
            vars[strName] = strValue;

        std::wstring strBlock;
        for (const auto& [strName, strValue] : vars)
        {
            strBlock += strName + L"=" + strValue;
            strBlock.push_back(L'\0');
        }
        strBlock.push_back(L'\0');
        return strBlock;
    }
}

ChildProcess::ChildProcess(
    const std::wstring& strExe, const std::wstring& strArgs, const std::wstring& strWorkDir, const Environment& extraEnv
)
{
    std::wstring strCommand = L"\"" + strExe + L"\"";
    if (!strArgs.empty())
        strCommand += L" " + strArgs;
    std::wstring strEnv = BuildEnvironmentBlock(extraEnv);

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    auto start = [&] {
        return CreateProcessW(
            strExe.c_str(), strCommand.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, strEnv.data(),
            strWorkDir.empty() ? nullptr : strWorkDir.c_str(), &si, &pi
        );
    };
    // Wine answers ERROR_INTERNAL_ERROR when the host could not bring a new
    // process up (seen once in hundreds of starts on a loaded machine, before
    // any of the program ran); that start alone is tried again.
    if (!start() && !(GetLastError() == ERROR_INTERNAL_ERROR && start()))
    {
        const DWORD dwError = GetLastError();
        throw std::runtime_error(
            "CreateProcess failed (error " + std::to_string(dwError) + "): " + Text::ToUtf8(strExe)
        );
    }
    const OwnedKernelHandle thread(pi.hThread);
    m_process.Reset(pi.hProcess);
    m_dwPid = pi.dwProcessId;
}

ChildProcess::~ChildProcess()
{
    if (IsRunning())
    {
        TerminateProcess(m_process.Get(), 0xDEAD);
        WaitForSingleObject(m_process.Get(), 5000);
    }
}

bool ChildProcess::IsRunning() const
{
    return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD dwTimeoutMs) const
{
    return WaitForSingleObject(m_process.Get(), dwTimeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const
{
    if (IsRunning())
        return std::nullopt;
    DWORD dwCode = 0;
    GetExitCodeProcess(m_process.Get(), &dwCode);
    return dwCode;
}
