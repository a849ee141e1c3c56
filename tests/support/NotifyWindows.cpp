#include "tests/support/NotifyWindows.h"

#include "tests/support/VelkorSession.h"
#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <shellapi.h>

namespace NotifyWindows
{
    void SetPowerLevel(VelkorSession& velkor, BYTE byLevel)
    {
        const std::wstring strState = velkor.Install().StatePath();
        if (!FileSystem::Exists(strState))
            EcState::Create(strState, 0x55, 0x70);
        EcState::Poke(strState, static_cast<std::uint16_t>(velkor.EcRamBase() + POWER_LEVEL_OFFSET), byLevel);
    }

    HWND PowerPopup(VelkorSession& velkor)
    {
        const DWORD dwPid = velkor.Process().Pid();
        for (HWND hWnd : WindowQuery::TopLevelWindows(dwPid, true))
        {
            if (WindowQuery::ClassName(hWnd) == L"#32770" && GetWindow(hWnd, GW_OWNER) == velkor.Main() &&
                GetDlgItem(hWnd, ID_PWR_TEXT) != nullptr)
                return hWnd;
        }
        return nullptr;
    }

    HWND WaitForPopupShown(VelkorSession& velkor, unsigned nTimeoutMs)
    {
        HWND hPopup = nullptr;
        WaitUntil(
            [&] {
                hPopup = PowerPopup(velkor);
                return hPopup != nullptr && IsWindowVisible(hPopup);
            },
            nTimeoutMs
        );
        return hPopup != nullptr && IsWindowVisible(hPopup) ? hPopup : nullptr;
    }

    std::wstring PowerText(HWND hPopup)
    {
        return WindowQuery::Text(GetDlgItem(hPopup, ID_PWR_TEXT));
    }

    int CountShowings(HWND hWnd, unsigned nMs)
    {
        int nShowings = 0;
        bool bWasVisible = false;
        const ULONGLONG ullEnd = GetTickCount64() + nMs;
        while (GetTickCount64() < ullEnd)
        {
            const bool bVisible = IsWindowVisible(hWnd) != FALSE;
            if (bVisible && !bWasVisible)
                ++nShowings;
            bWasVisible = bVisible;
            Sleep(5);
        }
        return nShowings;
    }

    HWND TrayMenu(VelkorSession& velkor)
    {
        return WindowQuery::OpenMenu(velkor.Process().Pid());
    }

    HWND OpenTrayMenu(VelkorSession& velkor)
    {
        for (int nTry = 0; nTry < 3; ++nTry)
        {
            PostMessageW(velkor.Main(), WM_TRAYNOTIFY, TRAY_ICON_ID, WM_RBUTTONUP);
            HWND hMenu = nullptr;
            WaitUntil([&] { return (hMenu = TrayMenu(velkor)) != nullptr; }, 3000);
            Pause(300);
            if (hMenu != nullptr && TrayMenu(velkor) == hMenu)
                return hMenu;
        }
        return nullptr;
    }
}
