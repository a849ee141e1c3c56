#include "tests/support/NotifyWindows.h"

#include "tests/support/VelkorSession.h"
#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"
#include "notify/PowerWatch.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

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
                GetDlgItem(hWnd, IDC_PWR_TEXT) != nullptr)
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

    RECT PopupPlace(VelkorSession& velkor, bool bLowered)
    {
        const PixelImage p1 = PixelImage::FromBitmapFile(velkor.SkinFile(L"Perf_P1_Blue.bmp"));
        const RECT rcDesktop = WindowQuery::ScreenRect(GetDesktopWindow());
        const int x = (rcDesktop.right - p1.Width()) / 2;
        const int y = (rcDesktop.bottom - p1.Height()) / 2 + (bLowered ? p1.Height() / 2 : 0);
        return {x, y, x + p1.Width(), y + p1.Height()};
    }

    bool PopupShows(VelkorSession& velkor, HWND hPopup, const wchar_t* pszPicture)
    {
        const PixelImage picture = PixelImage::FromBitmapFile(velkor.SkinFile(pszPicture));
        const PixelImage shown = PixelImage::GrabClient(hPopup);
        return IsWindowVisible(hPopup) && shown.Width() == picture.Width() && shown.Height() == picture.Height() &&
               shown.Match(picture) > 0.95;
    }

    std::wstring PowerText(HWND hPopup)
    {
        return WindowQuery::Text(GetDlgItem(hPopup, IDC_PWR_TEXT));
    }

    bool Poll(VelkorSession& velkor)
    {
        return VelkorSession::Send(velkor.Main(), WM_TIMER, CPowerWatch::POLL_TIMER_ID, 0).has_value();
    }

    LRESULT ClickTrayIcon(VelkorSession& velkor)
    {
        return VelkorSession::Send(velkor.Main(), WM_TRAYNOTIFY, TRAY_ICON_ID, WM_LBUTTONUP).value_or(-1);
    }

    size_t PowerLevelReads(VelkorSession& velkor)
    {
        const std::uint16_t wLevel = static_cast<std::uint16_t>(velkor.EcRamBase() + POWER_LEVEL_OFFSET);
        const std::vector<EcOperation> operations = velkor.EcOperations();
        return static_cast<size_t>(std::count_if(operations.begin(), operations.end(), [&](const EcOperation& op) {
            return op.kind == EcOperation::Read && op.wAddress == wLevel;
        }));
    }

    int CountShowingsOverReads(VelkorSession& velkor, int nReads)
    {
        const size_t nUntil = PowerLevelReads(velkor) + static_cast<size_t>(nReads);
        int nShowings = 0;
        bool bWasVisible = false;
        const auto watch = [&] {
            const HWND hPopup = PowerPopup(velkor);
            const bool bVisible = hPopup != nullptr && IsWindowVisible(hPopup);
            if (bVisible && !bWasVisible)
                ++nShowings;
            bWasVisible = bVisible;
            return PowerLevelReads(velkor) >= nUntil;
        };
        if (!WaitUntil(watch, 10000))
            return -1;
        // What the last read led to is done once the program answers again.
        VelkorSession::Responds(velkor.Main());
        watch();
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
