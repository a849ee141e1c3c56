#pragma once
// The two calls into the shell the program makes, bound when first made, so
// that shell32 and the libraries it brings are loaded only by a run that uses
// the tray icon or a link, not by every start.
#include <windows.h>

#include <shellapi.h>

namespace Shell
{
    // Shell_NotifyIconA; FALSE also when shell32 cannot be loaded.
    BOOL NotifyIcon(DWORD dwMessage, NOTIFYICONDATAA* pData);
    // ShellExecuteExA; FALSE also when shell32 cannot be loaded.
    BOOL ExecuteEx(SHELLEXECUTEINFOA* pInfo);
}
