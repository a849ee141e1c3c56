#pragma once
// Finding another process's windows and reading them, as a user would see them.
#include <windows.h>

#include <string>
#include <vector>

namespace WindowQuery
{
    // Top-level windows of a process (visible ones only unless bAll).
    std::vector<HWND> TopLevelWindows(DWORD dwPid, bool bAll = false);

    // The process's visible top-level window that has no owner: its main window
    // (message boxes and other dialogs are owned by it). NULL when there is none.
    HWND MainWindow(DWORD dwPid);

    // The process's open popup menu (a visible #32768 window), or NULL.
    HWND OpenMenu(DWORD dwPid);

    // Visible message boxes of a process: dialog-class windows with the message
    // box's text control (id 0xFFFF).
    std::vector<HWND> MessageBoxes(DWORD dwPid);

    // Visible dialog-class windows of a process other than its main window
    // (About boxes, message boxes).
    std::vector<HWND> OwnedDialogs(DWORD dwPid);

    std::wstring Text(HWND hWnd);
    std::wstring ClassName(HWND hWnd);
    std::wstring MessageBoxText(HWND hMsgBox);
    // The visible push buttons of a dialog, in z-order.
    std::vector<HWND> VisibleButtons(HWND hDialog);

    // Child windows (direct children) of a window.
    std::vector<HWND> Children(HWND hParent);

    // Whether the shell holds the tray icon of this window with this identifier.
    bool TrayIconExists(HWND hWnd, UINT uId);

    RECT ScreenRect(HWND hWnd);
}
