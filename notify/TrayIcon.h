#pragma once
#include <windows.h>

#include "notify/TrayMessages.h"

class CWnd;

// Puts the main window away behind a notification-area icon and brings it back.
// The main dialog owns one and forwards its MIN click, the icon's callback
// message and the shell's "TaskbarCreated" announcement to it.
//
// The icon exists exactly while IsInTray() is true: AddTrayIcon adds it and
// hides the window; a left-button release on the icon, or "Open" from its
// menu, shows the window and removes it; "Exit" (EndProgram) removes it and
// ends the process with status 0. A window is never hidden behind an icon the
// shell did not take: it could not be reached again.
class CTrayIcon
{
public:
    explicit CTrayIcon(CWnd& wndMain);
    // Takes the icon away with the object, so none outlives its window.
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    bool IsInTray() const { return m_bInTray; }

    // Adds the icon, hides the main window and marks it as in the tray. A shell
    // that is busy is asked again briefly; when it still does not take the
    // icon (or there is no notification area) the window stays shown.
    void AddTrayIcon();
    void DeleteTrayIcon();
    // Shows the main window in the foreground, out of the tray if it is there.
    void Restore();
    // Ends the process at once with exit status 0, the icon (if it is there or
    // being added) removed first, so that no dead icon is left in the
    // notification area.
    void EndProgram();

    // The WM_TRAYNOTIFY handler: wParam is the icon identifier, lParam the
    // mouse message. wLangId chooses the menu's language. Returns 1 for an
    // icon that is not ours, 0 otherwise.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam, WORD wLangId);

    // The message the shell broadcasts when its taskbar has been (re)created.
    static UINT TaskbarCreatedMessage();
    // A restarted shell has forgotten every icon: add ours again if the window
    // is away in the tray, or show the window when the new shell will not take it.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

private:
    // Implementation
    NOTIFYICONDATAA MakeRecord() const;
    bool AddToShell();
    void RunMenu(WORD wLangId);

    // Data members
    CWnd& m_wndMain;
    bool m_bInTray = false;
    bool m_bAdding = false;   // an add waits for the shell's answer
};
