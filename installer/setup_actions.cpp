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

    void ReportError(MSIHANDLE hInstall, const wchar_t* pszText)
    {
        PMSIHANDLE hRecord = ::MsiCreateRecord(1);
        // Field 0 is the message's template: "[1]" shows the text as it is.
        ::MsiRecordSetStringW(hRecord, 0, L"[1]");
        ::MsiRecordSetStringW(hRecord, 1, pszText);
        ::MsiProcessMessage(hInstall, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), hRecord);
    }
}

// Before files are checked, replaced or removed, a Velkor that runs from the
// installation folder is ended, so that nothing is left half-replaced and no
// restart is needed. The install fails, unchanged, when one cannot be ended.
extern "C" __declspec(dllexport) UINT __stdcall EndRunningVelkor(MSIHANDLE hInstall)
{
    std::wstring strFolder = TargetPath(hInstall, L"INSTALLFOLDER");
    if (strFolder.empty())
        return ERROR_SUCCESS;
    if (ProgramStopper(strFolder + L"Velkor.exe").EndAll(GRACE_MS) == 0)
        return ERROR_SUCCESS;
    ReportError(
        hInstall, L"Velkor is running and could not be ended (perhaps in another user's session). "
                  L"Close every Velkor, then run the installation again."
    );
    return ERROR_INSTALL_FAILURE;
}
