// The hook procedure of WindowShowWatch (tests/e2e): runs inside every
// program that handles a sent message while the hook is set, before the
// window procedure sees the message, and tells the watch about top-level
// windows being made and shown.
#include "tests/tools/window_show_hook.h"

namespace
{
    void Report(UINT nReport, HWND hWnd)
    {
        if (GetAncestor(hWnd, GA_PARENT) != GetDesktopWindow())
            return;
        if (HWND hSink = FindWindowExW(HWND_MESSAGE, nullptr, WINDOW_SHOW_SINK_CLASS, nullptr))
            PostMessageW(hSink, nReport, reinterpret_cast<WPARAM>(hWnd), 0);
    }
}

extern "C" LRESULT CALLBACK WindowShowHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
    {
        const auto* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (pMessage->message == WM_CREATE)
            Report(WM_WATCHED_CREATE, pMessage->hwnd);
        else if (pMessage->message == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(pMessage->lParam)->flags & SWP_SHOWWINDOW) != 0)
            Report(WM_WATCHED_SHOW, pMessage->hwnd);
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}
