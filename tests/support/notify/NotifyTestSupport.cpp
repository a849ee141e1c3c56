#include "tests/support/notify/NotifyTestSupport.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"
#include "tests/support/ec/EcTestSupport.h"
#include "framework/Afx.h"
#include "notify/DlgPwrNotify.h"

bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            AfxDispatchMessage(&msg);
        AfxOnIdle();
        if (condition())
            return true;
        if (::GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD dwMs)
{
    PumpUntil([] { return false; }, dwMs);
}

EcAccess& ProcessEc()
{
    ProcessSim();
    static EcAccess* s_pEc = new EcAccess;
    return *s_pEc;
}

void SetPowerByte(BYTE byValue)
{
    const EcAccess& ec = ProcessEc();
    ProcessSim().Ec()[ec.m_nEcRamBase + POWER_LEVEL_OFFSET] = byValue;
}

bool TrayIconExists(HWND hWnd, UINT uID)
{
    // Changing nothing about an icon succeeds exactly when the shell has it.
    NOTIFYICONDATAA nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = hWnd;
    nid.uID = uID;
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

namespace
{
    BOOL CALLBACK CollectOwned(HWND hWnd, LPARAM lParam)
    {
        auto* pFound = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(lParam);
        if (::GetWindow(hWnd, GW_OWNER) == pFound->first)
            pFound->second.push_back(hWnd);
        return TRUE;
    }
}

CDlgPwrNotify* PopupOwnedBy(HWND hWndOwner)
{
    std::pair<HWND, std::vector<HWND>> found(hWndOwner, {});
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectOwned, reinterpret_cast<LPARAM>(&found));
    std::vector<CDlgPwrNotify*> popups;
    for (HWND hWnd : found.second)
    {
        if (auto* pPopup = dynamic_cast<CDlgPwrNotify*>(CWnd::FromHandlePermanent(hWnd)))
            popups.push_back(pPopup);
    }
    EXPECT_LE(popups.size(), 1u) << "the popup is created once";
    return popups.empty() ? nullptr : popups.front();
}
