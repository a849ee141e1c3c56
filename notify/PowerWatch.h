#pragma once
#include <windows.h>

#include <memory>
#include <string>

class CDlgPwrNotify;
class CTrayIcon;
class CWnd;
class EcAccess;

// Watches the EC's power-level byte on the main window's timer and shows the
// power popup for a moment whenever a new valid level (1, 2 or 3) turns up.
// The main dialog owns one and forwards its WM_TIMER ticks and the hidden
// Static button's click to it.
//
// The popup is created on first need, owned by the main window, and kept for
// the rest of the run; afterwards it is only shown and hidden.
class CPowerWatch
{
public:
    static constexpr UINT_PTR POLL_TIMER_ID = 1;   // main window timer: read the level
    static constexpr UINT POLL_PERIOD_MS = 500;
    static constexpr UINT_PTR HIDE_TIMER_ID = 2;   // main window timer: hide the popup again
    static constexpr UINT HIDE_DELAY_MS = 800;

    // The popup stands lower while trayIcon says the main window is in the tray.
    CPowerWatch(CWnd& wndMain, EcAccess& ec, const CTrayIcon& trayIcon);
    ~CPowerWatch();
    CPowerWatch(const CPowerWatch&) = delete;
    CPowerWatch& operator=(const CPowerWatch&) = delete;

    // Starts polling every 500 ms; the popup takes its pictures from strSkinDir.
    void Start(const std::wstring& strSkinDir);

    // The main window's WM_TIMER ticks; ids other than ours are left alone.
    void OnTimer(UINT_PTR nIDEvent);

    // The hidden Static button: shows the popup, stepping it 1, 2, 3, 1, ...
    // It leaves the accepted level and the hide timer alone.
    void OnBnClickedStatic();

private:
    // Implementation
    void Poll();
    void ShowPowerPopup();
    void HidePowerPopup();

    // Data members
    CWnd& m_wndMain;
    EcAccess& m_ec;
    const CTrayIcon& m_trayIcon;
    std::wstring m_strSkinDir;
    int m_nPowerLevel = 0;   // the last accepted level; 0 until one is read
    std::unique_ptr<CDlgPwrNotify> m_pDlgPwrNotify;
};
