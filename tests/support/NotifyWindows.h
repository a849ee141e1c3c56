#pragma once
// The program's notification side seen from outside: its power popup, its
// tray icon and the tray menu, and the EC byte that drives the popup.
#include <windows.h>

#include <cstdint>
#include <string>

class VelkorSession;

namespace NotifyWindows
{
    constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;
    constexpr UINT TRAY_ICON_ID = 128;
    constexpr int ID_PWR_TEXT = 1008;
    constexpr std::uint16_t POWER_LEVEL_OFFSET = 0x30;

    // Sets the power-level byte the program polls, before or after its start.
    void SetPowerLevel(VelkorSession& velkor, BYTE byLevel);

    // The power popup (shown or not), or NULL while the program has none.
    HWND PowerPopup(VelkorSession& velkor);
    // Waits until the popup exists and is shown; NULL when it never is.
    HWND WaitForPopupShown(VelkorSession& velkor, unsigned nTimeoutMs = 10000);
    // The text of the popup's (hidden) text control.
    std::wstring PowerText(HWND hPopup);
    // How many times the window turns visible while this watches it (every
    // few milliseconds); a showing in progress at the start counts too.
    int CountShowings(HWND hWnd, unsigned nMs);

    // The program's open tray menu (#32768), or NULL.
    HWND TrayMenu(VelkorSession& velkor);
    // A right-button release on the icon; the menu it opened, or NULL. Soon
    // after the window hides, Wine may still be working through the focus
    // change, which closes a menu at once: then the release is sent again.
    HWND OpenTrayMenu(VelkorSession& velkor);
}
