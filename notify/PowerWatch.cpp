#include "notify/PowerWatch.h"

#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"
#include "notify/DlgPwrNotify.h"
#include "notify/TrayIcon.h"
#include "res/resource.h"

#include <optional>

CPowerWatch::CPowerWatch(CWnd& wndMain, EcAccess& ec, const CTrayIcon& trayIcon)
    : m_wndMain(wndMain),
      m_ec(ec),
      m_trayIcon(trayIcon)
{}

CPowerWatch::~CPowerWatch() = default;

void CPowerWatch::Start(const std::wstring& strSkinDir)
{
    m_strSkinDir = strSkinDir;
    m_wndMain.SetTimer(POLL_TIMER_ID, POLL_PERIOD_MS);
}

void CPowerWatch::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == POLL_TIMER_ID)
        Poll();
    else if (nIDEvent == HIDE_TIMER_ID)
        HidePowerPopup();
}

void CPowerWatch::Poll()
{
    // A poll that cannot have the ports (another program holds them) is
    // skipped. Anything but 1, 2 or 3 is no level at all and does not reset the
    // last one, so 2, 0, 2 is no change.
    const std::optional<BYTE> byLevel = m_ec.ReadRamByte(POWER_LEVEL_OFFSET);
    const int nLevel = byLevel.value_or(0);
    if (nLevel < 1 || nLevel > 3 || nLevel == m_nPowerLevel)
        return;
    m_nPowerLevel = nLevel;
    ShowPowerPopup();
    m_wndMain.SetTimer(HIDE_TIMER_ID, HIDE_DELAY_MS);   // restarts a running one
}

void CPowerWatch::ShowPowerPopup()
{
    if (!m_pDlgPwrNotify)
    {
        // Kept before creation: the popup's message boxes about a missing
        // picture run a message loop in which further ticks may come here.
        m_pDlgPwrNotify = std::make_unique<CDlgPwrNotify>(m_strSkinDir);
        m_pDlgPwrNotify->Create(IDD_PWR_NOTIFY, &m_wndMain);
    }
    m_pDlgPwrNotify->m_nLevel = m_nPowerLevel;
    m_pDlgPwrNotify->m_bLowered = m_trayIcon.IsInTray();
    // The popup informs; it must not take the keyboard from the user's window.
    m_pDlgPwrNotify->ShowWindow(SW_SHOWNOACTIVATE);
}

void CPowerWatch::HidePowerPopup()
{
    m_wndMain.KillTimer(HIDE_TIMER_ID);
    if (m_pDlgPwrNotify)
        m_pDlgPwrNotify->ShowWindow(SW_HIDE);
}

void CPowerWatch::OnBnClickedStatic()
{
    if (!m_pDlgPwrNotify)
    {
        ShowPowerPopup();
        return;
    }
    int& nLevel = m_pDlgPwrNotify->m_nLevel;
    nLevel = nLevel >= 3 ? 1 : nLevel + 1;
    m_pDlgPwrNotify->ShowWindow(SW_SHOWNOACTIVATE);
}
