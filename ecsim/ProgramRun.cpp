#include "ecsim/ProgramRun.h"

#include <atomic>
#include <fstream>
#include <sstream>

namespace
{

    std::string Quote(const std::string& strArg)
    {
        return strArg.find_first_of(" \t") == std::string::npos && !strArg.empty() ? strArg : "\"" + strArg + "\"";
    }

    bool SameName(const std::string& strEntry, const std::string& strName)
    {
        return strEntry.size() > strName.size() && strEntry[strName.size()] == '=' &&
               CompareStringA(
                   LOCALE_INVARIANT, NORM_IGNORECASE, strEntry.c_str(), static_cast<int>(strName.size()),
                   strName.c_str(), static_cast<int>(strName.size())
               ) == CSTR_EQUAL;
    }

}   // namespace

ProgramRun::ProgramRun(std::string strProgram)
    : m_strProgram(std::move(strProgram)),
      m_strCommandLine(Quote(m_strProgram))
{
    static std::atomic<int> s_nCounter{0};
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    m_strOutputPath = std::string(szTemp) + "child-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(++s_nCounter) + ".out";
}

ProgramRun::~ProgramRun()
{
    if (m_hProcess && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT)
    {
        TerminateProcess(m_hProcess.Get(), 1);
        WaitForSingleObject(m_hProcess.Get(), 5000);
    }
    DeleteFileA(m_strOutputPath.c_str());
    if (!m_strErrorPath.empty())
        DeleteFileA(m_strErrorPath.c_str());
}

ProgramRun& ProgramRun::Arg(const std::string& strArg)
{
    m_strCommandLine += ' ';
    m_strCommandLine += Quote(strArg);
    return *this;
}

ProgramRun& ProgramRun::Folder(const std::string& strFolder)
{
    m_strFolder = strFolder;
    return *this;
}

ProgramRun& ProgramRun::Env(const std::string& strName, const std::string& strValue)
{
    m_environment.emplace_back(strName, strValue);
    return *this;
}

ProgramRun& ProgramRun::SeparateErrors()
{
    m_strErrorPath = m_strOutputPath + ".err";
    return *this;
}

ProgramRun& ProgramRun::OutputToClosedPipe()
{
    m_bOutputToClosedPipe = true;
    return SeparateErrors();
}

std::vector<char> ProgramRun::EnvironmentBlock() const
{
    std::vector<std::string> entries;
    if (char* pszBlock = GetEnvironmentStringsA())
    {
        for (const char* psz = pszBlock; *psz != '\0'; psz += std::char_traits<char>::length(psz) + 1)
            entries.emplace_back(psz);
        FreeEnvironmentStringsA(pszBlock);
    }
    for (const auto& [strName, strValue] : m_environment)
    {
        std::erase_if(entries, [&](const std::string& strEntry) { return SameName(strEntry, strName); });
        if (!strValue.empty())
            entries.push_back(strName + "=" + strValue);
    }
    std::vector<char> block;
    for (const std::string& strEntry : entries)
        block.insert(block.end(), strEntry.c_str(), strEntry.c_str() + strEntry.size() + 1);
    block.push_back('\0');
    return block;
}

bool ProgramRun::Start(DWORD dwCreationFlags)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    auto createOutput = [&](const std::string& strPath) {
        return CreateFileA(
            strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
            FILE_ATTRIBUTE_NORMAL, nullptr
        );
    };
    SimKernelHandle hOutput(m_bOutputToClosedPipe ? nullptr : createOutput(m_strOutputPath));
    if (m_bOutputToClosedPipe)
    {
        HANDLE hRead = nullptr, hWrite = nullptr;
        if (CreatePipe(&hRead, &hWrite, &sa, 0))
        {
            const SimKernelHandle reader(hRead);   // gone at once: every write to the pipe fails
            hOutput.Reset(hWrite);
        }
    }
    SimKernelHandle hErrors(m_strErrorPath.empty() ? nullptr : createOutput(m_strErrorPath));
    if (!hOutput || (!m_strErrorPath.empty() && !hErrors))
        return false;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = hOutput.Get();
    si.hStdError = m_strErrorPath.empty() ? hOutput.Get() : hErrors.Get();
    std::vector<char> commandLine(m_strCommandLine.begin(), m_strCommandLine.end());
    commandLine.push_back('\0');
    std::vector<char> environment = EnvironmentBlock();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(
            m_strProgram.c_str(), commandLine.data(), nullptr, nullptr, TRUE, dwCreationFlags, environment.data(),
            m_strFolder.empty() ? nullptr : m_strFolder.c_str(), &si, &pi
        ))
        return false;
    m_hThread.Reset(pi.hThread);
    m_hProcess.Reset(pi.hProcess);
    return true;
}

void ProgramRun::Resume()
{
    ResumeThread(m_hThread.Get());
}

DWORD ProgramRun::Wait(DWORD dwTimeoutMs)
{
    if (!m_hProcess)
        return STILL_ACTIVE;
    if (WaitForSingleObject(m_hProcess.Get(), dwTimeoutMs) != WAIT_OBJECT_0)
    {
        TerminateProcess(m_hProcess.Get(), 1);
        WaitForSingleObject(m_hProcess.Get(), 5000);
        return STILL_ACTIVE;
    }
    DWORD dwExitCode = STILL_ACTIVE;
    GetExitCodeProcess(m_hProcess.Get(), &dwExitCode);
    return dwExitCode;
}

std::string ProgramRun::Output() const
{
    return ReadText(m_strOutputPath);
}

std::string ProgramRun::Errors() const
{
    return m_strErrorPath.empty() ? std::string() : ReadText(m_strErrorPath);
}

std::string ProgramRun::ReadText(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::string strText = text.str();
    std::erase(strText, '\r');
    return strText;
}
