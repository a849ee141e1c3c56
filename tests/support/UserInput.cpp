#include "tests/support/UserInput.h"

#include "tests/support/Wait.h"

namespace
{
    void SendMouse(DWORD dwFlags, LONG dx = 0, LONG dy = 0)
    {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = dx;
        in.mi.dy = dy;
        in.mi.dwFlags = dwFlags;
        SendInput(1, &in, sizeof in);
    }

    void SendKey(WORD wVk, bool bUp)
    {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = wVk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(wVk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof in);
    }

    // Gives the other process time to take each event before the next one.
    void Settle()
    {
        Pause(30);
    }
}

namespace UserInput
{
    bool BringToFront(HWND hWnd)
    {
        return WaitUntil(
            [hWnd] {
                if (GetForegroundWindow() == hWnd)
                    return true;
                SetForegroundWindow(hWnd);
                return false;
            },
            5000
        );
    }

    void MoveTo(POINT ptScreen)
    {
        // Absolute coordinates are normalised to 0..65535 across the primary screen.
        int cx = GetSystemMetrics(SM_CXSCREEN);
        int cy = GetSystemMetrics(SM_CYSCREEN);
        LONG nx = MulDiv(ptScreen.x, 65535, cx - 1);
        LONG ny = MulDiv(ptScreen.y, 65535, cy - 1);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, nx, ny);
        Settle();
    }

    void LeftDown()
    {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        Settle();
    }

    void LeftUp()
    {
        SendMouse(MOUSEEVENTF_LEFTUP);
        Settle();
    }

    void Click(POINT ptScreen)
    {
        MoveTo(ptScreen);
        LeftDown();
        LeftUp();
    }

    void ClickCentre(HWND hWnd)
    {
        RECT rc = {};
        GetWindowRect(hWnd, &rc);
        Click({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    }

    SIZE Drag(POINT ptFrom, POINT ptTo, int nSteps)
    {
        MoveTo(ptFrom);
        POINT ptStart = {};
        GetCursorPos(&ptStart);
        LeftDown();
        for (int i = 1; i <= nSteps; ++i)
            MoveTo({ptFrom.x + MulDiv(ptTo.x - ptFrom.x, i, nSteps), ptFrom.y + MulDiv(ptTo.y - ptFrom.y, i, nSteps)});
        POINT ptEnd = {};
        GetCursorPos(&ptEnd);
        LeftUp();
        return {ptEnd.x - ptStart.x, ptEnd.y - ptStart.y};
    }

    void Key(WORD wVk, WORD wModifier)
    {
        if (wModifier)
            SendKey(wModifier, false);
        SendKey(wVk, false);
        SendKey(wVk, true);
        if (wModifier)
            SendKey(wModifier, true);
        Settle();
    }
}
