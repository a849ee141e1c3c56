#include "notify/TrayIcon.h"

#include "framework/Afx.h"
#include "framework/Menu.h"
#include "framework/Point.h"
#include "framework/Shell.h"
#include "framework/Wnd.h"
#include "res/resource.h"

// The full ANSI record, balloon fields, GUID and balloon icon included (508
// bytes in a 32-bit program).
static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAA) == 508, "the shell expects the full-size ANSI record");

namespace
{
    // A shell busy with something else times out; it is asked again after a pause.
    constexpr int ADD_ATTEMPTS = 3;
    constexpr DWORD ADD_RETRY_PAUSE_MS = 250;
}

CTrayIcon::CTrayIcon(CWnd& wndMain)
    : m_wndMain(wndMain)
{}

CTrayIcon::~CTrayIcon()
{
    if (m_bInTray)
        DeleteTrayIcon();
}

NOTIFYICONDATAA CTrayIcon::MakeRecord() const
{
    NOTIFYICONDATAA nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_wndMain.GetSafeHwnd();
    nid.uID = TRAY_ICON_ID;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_TRAYNOTIFY;
    // LoadIcon hands out a shared icon: nothing to destroy afterwards.
    LPCSTR lpszIcon = MAKEINTRESOURCEA(IDR_MAINFRAME);
    nid.hIcon = ::LoadIconA(AfxFindResourceHandle(lpszIcon, RT_GROUP_ICON), lpszIcon);
    ::lstrcpynA(nid.szTip, "Glowdeck", sizeof(nid.szTip));
    return nid;
}

bool CTrayIcon::AddToShell()
{
    NOTIFYICONDATAA nid = MakeRecord();
    m_bAdding = true;
    bool bTaken = false;
    for (int nAttempt = 0; nAttempt < ADD_ATTEMPTS && !bTaken; ++nAttempt)
    {
        if (nAttempt > 0)
            ::Sleep(ADD_RETRY_PAUSE_MS);
        // A shell that answered too late may have taken the icon all the same.
        bTaken = Shell::NotifyIcon(NIM_ADD, &nid) || Shell::NotifyIcon(NIM_MODIFY, &nid);
    }
    m_bAdding = false;
    return bTaken;
}

void CTrayIcon::AddTrayIcon()
{
    if (!AddToShell())
        return;
    m_wndMain.ShowWindow(SW_HIDE);
    m_bInTray = true;
}

void CTrayIcon::DeleteTrayIcon()
{
    NOTIFYICONDATAA nid = MakeRecord();
    Shell::NotifyIcon(NIM_DELETE, &nid);
}

LRESULT CTrayIcon::OnTrayNotify(WPARAM wParam, LPARAM lParam, WORD wLangId)
{
    if (wParam != TRAY_ICON_ID)
        return 1;
    if (lParam == WM_LBUTTONUP)
        Restore();
    else if (lParam == WM_RBUTTONUP)
        RunMenu(wLangId);
    return 0;
}

UINT CTrayIcon::TaskbarCreatedMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageA("TaskbarCreated");
    return nMessage;
}

LRESULT CTrayIcon::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (m_bInTray && !AddToShell())
        Restore();
    return 0;
}

void CTrayIcon::Restore()
{
    m_wndMain.ShowWindow(m_wndMain.IsIconic() ? SW_RESTORE : SW_SHOW);
    m_wndMain.SetForegroundWindow();
    DeleteTrayIcon();
    m_bInTray = false;
}

void CTrayIcon::RunMenu(WORD wLangId)
{
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);

    // Wide calls, so the Chinese texts read right whatever the system code page.
    const bool bChinese = wLangId == LANG_ID_CHINESE_PRC;
    CMenu menu;
    menu.CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, ID_TRAY_OPEN, bChinese ? L"01_\u6253\u5f00\u4e3b\u754c\u9762" : L"01_Open Main UI");
    ::AppendMenuW(menu, MF_STRING, ID_TRAY_EXIT, bChinese ? L"02_\u9000\u51fa" : L"02_Exit");

    // The menu only closes on a click elsewhere when its owner is the
    // foreground window, and only reliably with a message behind it.
    m_wndMain.SetForegroundWindow();
    const UINT nCommand = static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, ptCursor.x, ptCursor.y, &m_wndMain));
    m_wndMain.PostMessage(WM_NULL);

    if (nCommand == ID_TRAY_OPEN)
    {
        Restore();
    }
    else if (nCommand == ID_TRAY_EXIT)
    {
        EndProgram();
    }
}

// While an add waits for the shell's answer, messages sent from elsewhere (an
// end of the session) are handled: the shell may be taking the icon then.
void CTrayIcon::EndProgram()
{
    if (m_bInTray || m_bAdding)
        DeleteTrayIcon();
    ::ExitProcess(0);
}
