#pragma once
// The program's notification side seen from outside: its power popup, its
// tray icon and the tray menu, and the EC byte that drives the popup.
#include <windows.h>

#include <cstdint>
#include <string>

#include "notify/TrayMessages.h"
#include "res/resource.h"

class VelkorSession;

namespace NotifyWindows
{
    constexpr std::uint16_t POWER_LEVEL_OFFSET = 0x30;

    // Sets the power-level byte the program polls, before or after its start.
    void SetPowerLevel(VelkorSession& velkor, BYTE byLevel);

    // The power popup (shown or not), or NULL while the program has none.
    HWND PowerPopup(VelkorSession& velkor);
    // Waits until the popup exists and is shown; NULL when it never is.
    HWND WaitForPopupShown(VelkorSession& velkor, unsigned nTimeoutMs = 10000);
    // Where the popup stands on this screen: centred, at the size of the
    // level-1 picture, and half its height lower once the window has been
    // put away in the tray.
    RECT PopupPlace(VelkorSession& velkor, bool bLowered);
    // Whether the popup stands shown with the skin's picture of this name, at
    // its size (for its first moments it still has the template's size).
    bool PopupShows(VelkorSession& velkor, HWND hPopup, const wchar_t* pszPicture);
    // The text of the popup's (hidden) text control.
    std::wstring PowerText(HWND hPopup);
    // One tick of the program's power-level poll, sent, so the poll has run
    // when this returns; false when the program did not answer (a hang).
    bool Poll(VelkorSession& velkor);
    // The shell's callback for a left click on the tray icon, sent: the
    // program's answer (0 when it took the click), -1 when it did not answer.
    LRESULT ClickTrayIcon(VelkorSession& velkor);
    // How many times the program has read the power level so far.
    size_t PowerLevelReads(VelkorSession& velkor);
    // How many times the power popup turns visible (a showing in progress at
    // the start counts too) while the program reads the power level nReads
    // more times: with the default, the level as it is now has been read and
    // acted on at least once, however slowly the program runs. -1 when the
    // reads stop coming (the program hangs or has ended).
    int CountShowingsOverReads(VelkorSession& velkor, int nReads = 3);

    // The program's open tray menu (#32768), or NULL.
    HWND TrayMenu(VelkorSession& velkor);
    // A right-button release on the icon; the menu it opened, or NULL. Soon
    // after the window hides, Wine may still be working through the focus
    // change, which closes a menu at once: then the release is sent again.
    HWND OpenTrayMenu(VelkorSession& velkor);
}
