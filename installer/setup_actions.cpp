// setup_actions.dll: the package's own custom actions, run by Windows Installer
// from the package's Binary table; never installed.
#include <windows.h>
#include <msiquery.h>

#include <string>

#include "ProgramStopper.h"

namespace
{
    constexpr DWORD GRACE_MS = 5000;

    std::wstring TargetPath(MSIHANDLE hInstall, const wchar_t* pszFolder)
    {
        wchar_t szEmpty[1] = L"";
        DWORD cch = 0;
        if (::MsiGetTargetPathW(hInstall, pszFolder, szEmpty, &cch) != ERROR_MORE_DATA)
            return {};
        std::wstring strPath(++cch, L'\0');
        if (::MsiGetTargetPathW(hInstall, pszFolder, strPath.data(), &cch) != ERROR_SUCCESS)
            return {};
        strPath.resize(cch);
        return strPath;
    }

    // Hands Windows Installer a message of the given type; "[1]" in the
    // template stands for the text, shown as it is.
    void Tell(MSIHANDLE hInstall, INSTALLMESSAGE type, const wchar_t* pszTemplate, const std::wstring& strText)
    {
        PMSIHANDLE hRecord = ::MsiCreateRecord(1);
        ::MsiRecordSetStringW(hRecord, 0, pszTemplate);
        ::MsiRecordSetStringW(hRecord, 1, strText.c_str());
        ::MsiProcessMessage(hInstall, type, hRecord);
    }

    void ReportError(MSIHANDLE hInstall, const std::wstring& strText)
    {
        Tell(hInstall, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), L"[1]", strText);
    }

    void Log(MSIHANDLE hInstall, const std::wstring& strText)
    {
        Tell(hInstall, INSTALLMESSAGE_INFO, L"EndRunningVelkor: [1]", strText);
    }

    // One line of the installation log on what became of a process.
    std::wstring Describe(const ProgramStopper::Process& process, DWORD dwSession)
    {
        const std::wstring strProcess =
            process.strExeName + L" (process " + std::to_wstring(process.dwProcessId) + L") ";
        const std::wstring strLeft = L"; it is left running, and Windows Installer replaces the files it holds "
                                     L"at the next restart.";
        switch (process.fate)
        {
        case ProgramStopper::Fate::Exited: return strProcess + L"ended when asked.";
        case ProgramStopper::Fate::Terminated:
            return strProcess + L"had not ended " + std::to_wstring(GRACE_MS / 1000) +
                   L" s after it was asked to, and was terminated.";
        case ProgramStopper::Fate::OtherSession:
            return strProcess + L"runs in session " + std::to_wstring(process.dwDetail) +
                   L", not in the installation's session " + std::to_wstring(dwSession) + strLeft;
        case ProgramStopper::Fate::NotOpened:
            return strProcess + L"could not be opened (error " + std::to_wstring(process.dwDetail) +
                   L") to see which folder it runs from; it is left running, and should it run from the "
                   L"installation folder, Windows Installer replaces the files it holds at the next restart.";
        case ProgramStopper::Fate::NotEnded: break;
        }
        return strProcess + L"could not be ended (error " + std::to_wstring(process.dwDetail) + L")" + strLeft;
    }
}

// Before files are checked, replaced or removed, Velkor and velkorctl that run
// from the installation folder in the installation's own session are ended,
// so that nothing is left half-replaced and no restart is needed. Another
// session's are left running (the log names them): their files are replaced
// at the next restart, as Windows Installer does with any file in use.
extern "C" __declspec(dllexport) UINT __stdcall EndRunningVelkor(MSIHANDLE hInstall)
{
    const std::wstring strFolder = TargetPath(hInstall, L"INSTALLFOLDER");
    if (strFolder.empty())
    {
        ReportError(hInstall, L"The installation folder is not known, so a running Velkor could not be looked for.");
        return ERROR_INSTALL_FAILURE;
    }
    const ProgramStopper::Outcome outcome =
        ProgramStopper({strFolder + L"Velkor.exe", strFolder + L"velkorctl.exe"}).EndAll(GRACE_MS);
    if (outcome.dwListError != ERROR_SUCCESS)
    {
        ReportError(
            hInstall, L"The running programs could not be listed (error " + std::to_wstring(outcome.dwListError) +
                          L"), so a running Velkor could not be looked for. Run the installation again."
        );
        return ERROR_INSTALL_FAILURE;
    }
    for (const ProgramStopper::Process& process : outcome.processes)
        Log(hInstall, Describe(process, outcome.dwSession));
    return ERROR_SUCCESS;
}
