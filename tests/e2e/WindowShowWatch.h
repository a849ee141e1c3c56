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
#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class WindowShowWatch
{
public:
    // Watching when this returns; throws std::runtime_error when the hook
    // cannot be set.
    WindowShowWatch();
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

    mutable std::mutex m_mutex;
    std::vector<Report> m_reports;
    std::atomic<HWND> m_hSink = nullptr;
    std::atomic<int> m_nState = 0;   // 0 while starting, 1 watching, -1 failed
    std::thread m_thread;
};
