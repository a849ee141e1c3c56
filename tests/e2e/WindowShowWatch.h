#pragma once
// Sees the top-level windows of every program being made and becoming
// visible, from the moment the watch exists: a global WH_CALLWNDPROC hook,
// whose DLL (tests/tools/window_show_hook) the system loads into each program
// that handles a window message, reports every WM_CREATE and every showing
// (WM_WINDOWPOSCHANGED with SWP_SHOWWINDOW) to a window on the watch's own
// thread. A window shown for a single frame and hidden again is seen all the
// same, which no polling of its style could promise. A program's reports
// arrive in the order it made them: once a later one is in, so are the
// earlier ones.
//
// The hook is set and removed by the thread that makes and destroys the
// watch, and it must outlive the watch: Wine 10's server takes a global hook
// away a second time when its owner ends while the hook's chain was in use at
// the unhook, and then aborts. For the same reason the watch goes before the
// programs it saw are ended: one ended inside a call of the hook leaves the
// chain in use for good.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "base/OwnedHandle.h"

class WindowShowWatch
{
public:
    // Watching when this returns; throws std::runtime_error when the hook
    // cannot be set.
    WindowShowWatch();
    // Removes the hook, then waits until each program it saw has answered a
    // message, so none is still inside a call of the hook.
    ~WindowShowWatch();
    WindowShowWatch(const WindowShowWatch&) = delete;
    WindowShowWatch& operator=(const WindowShowWatch&) = delete;

    // How many times hWnd was made, and shown, so far.
    int Creations(HWND hWnd) const { return Count(hWnd, false); }
    int Showings(HWND hWnd) const { return Count(hWnd, true); }

private:
    struct Report
    {
        HWND hWnd;
        bool bShown;   // else made
    };

    static LRESULT CALLBACK SinkProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    int Count(HWND hWnd, bool bShown) const;
    void Run();
    void CloseSink();

    mutable std::mutex m_mutex;
    std::vector<Report> m_reports;
    std::atomic<HWND> m_hSink = nullptr;
    std::atomic<int> m_nState = 0;   // 0 while starting, 1 sink made, -1 failed
    std::thread m_thread;
    OwnedModule m_hookDll;
    OwnedHandle<HHOOK, &::UnhookWindowsHookEx> m_hook;
};
