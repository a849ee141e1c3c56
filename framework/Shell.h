#pragma once
// The two calls into the shell the program makes, bound when first made:
// loading shell32 (and the libraries it brings) at start cost Velkor 4 ms and
// 50 KB under Wine, for a tray icon and a link that many runs never use.
#include <windows.h>

#include <shellapi.h>

namespace Shell
{
    // Shell_NotifyIconA; FALSE also when shell32 cannot be loaded.
    BOOL NotifyIcon(DWORD dwMessage, NOTIFYICONDATAA* pData);
    // ShellExecuteExA; FALSE also when shell32 cannot be loaded.
    BOOL ExecuteEx(SHELLEXECUTEINFOA* pInfo);
}
