// Drives a running Velkor as a user would, for scripts/run without a display of
// one's own: waits for its main window and clicks its buttons with real input.
//
//   velkor_drive wait            waits for the main window, prints where it is
//   velkor_drive click ID        clicks the button with this control id
//   velkor_drive exit            clicks Exit and waits for the program to end
//
// Exit status: 0 done, 1 no Velkor window (or it did not take the click or
// did not end), 2 bad command line.
#include "base/OwnedHandle.h"
#include "tests/support/UserInput.h"
#include "tests/support/VelkorSession.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "res/resource.h"

namespace
{
    const std::wstring WINDOW_TEXT_PREFIX = L"Glowdeck--";

    BOOL CALLBACK FindVelkor(HWND hWnd, LPARAM lParam)
    {
        if (IsWindowVisible(hWnd) && GetWindow(hWnd, GW_OWNER) == nullptr &&
            WindowQuery::Text(hWnd).rfind(WINDOW_TEXT_PREFIX, 0) == 0)
        {
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        }
        return TRUE;
    }

    HWND WaitForVelkor(unsigned nTimeoutMs)
    {
        HWND hMain = nullptr;
        WaitUntil(
            [&] {
                EnumWindows(FindVelkor, reinterpret_cast<LPARAM>(&hMain));
                return hMain != nullptr;
            },
            nTimeoutMs
        );
        return hMain;
    }

    // Who has the mouse captured in the thread of hWnd.
    HWND CaptureOf(HWND hWnd)
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info) ? info.hwndCapture : nullptr;
    }

    // A button takes the mouse on the press and gives it back on the release,
    // which tells when Velkor has handled each; once its window answers, the
    // click's handler is done, and what it left to repaint is painted before
    // anyone looks. False when Velkor did not take the click in time.
    bool ClickAndWaitForPaint(HWND hMain, HWND hButton)
    {
        const RECT rc = WindowQuery::ScreenRect(hButton);
        UserInput::MoveTo({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
        UserInput::LeftDown();
        const bool bPressed = WaitUntil([&] { return CaptureOf(hButton) == hButton; }, 5000);
        UserInput::LeftUp();
        return bPressed && WaitUntil([&] { return CaptureOf(hButton) != hButton; }, 5000) &&
               VelkorSession::Responds(hMain) && RedrawWindow(hMain, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    int Usage()
    {
        std::fprintf(stderr, "usage: velkor_drive wait | click ID | exit\n");
        return 2;
    }
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string strCommand = argv[1];
    HWND hMain = WaitForVelkor(strCommand == "wait" ? 30000 : 5000);
    if (!hMain)
    {
        std::fprintf(stderr, "no Velkor window\n");
        return 1;
    }
    RECT rc = WindowQuery::ScreenRect(hMain);

    if (strCommand == "wait" && argc == 2)
    {
        std::printf("Velkor window %ldx%ld at %ld,%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        return 0;
    }
    if (strCommand == "click" && argc == 3)
    {
        HWND hButton = GetDlgItem(hMain, std::atoi(argv[2]));
        if (!hButton || !IsWindowVisible(hButton))
        {
            std::fprintf(stderr, "no visible button %s\n", argv[2]);
            return 1;
        }
        UserInput::BringToFront(hMain);
        if (!ClickAndWaitForPaint(hMain, hButton))
        {
            std::fprintf(stderr, "button %s did not take the click\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (strCommand == "exit" && argc == 2)
    {
        DWORD dwPid = 0;
        GetWindowThreadProcessId(hMain, &dwPid);
        const OwnedKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwPid));
        UserInput::BringToFront(hMain);
        UserInput::ClickCentre(GetDlgItem(hMain, IDC_EXIT));
        const bool bEnded = process && WaitForSingleObject(process.Get(), 10000) == WAIT_OBJECT_0;
        DWORD dwCode = 0;
        if (bEnded)
            GetExitCodeProcess(process.Get(), &dwCode);
        std::printf(bEnded ? "Velkor ended with status %lu\n" : "Velkor did not end\n", dwCode);
        return bEnded ? 0 : 1;
    }
    return Usage();
}
