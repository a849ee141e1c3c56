#pragma once
// A stand-in for the shell's notification area, for the tray's failure cases:
// a window of the tray's class, above the real one, that Shell_NotifyIcon calls
// of every program reach first while it exists. It answers as a busy or absent
// shell does (FALSE) for as many calls as it is told, then takes icons again,
// and counts the calls by kind (NIM_ADD, NIM_MODIFY, NIM_DELETE). It runs on a
// thread of its own, so it answers while the test waits.
#include <windows.h>

#include <atomic>
#include <thread>

class FakeShellTray
{
public:
    // nRefusals: how many calls it answers FALSE before it answers TRUE;
    // REFUSE_ALL: every call.
    static constexpr int REFUSE_ALL = -1;
    explicit FakeShellTray(int nRefusals);
    ~FakeShellTray();
    FakeShellTray(const FakeShellTray&) = delete;
    FakeShellTray& operator=(const FakeShellTray&) = delete;

    int Calls(DWORD dwMessage) const { return m_nCalls[dwMessage <= NIM_DELETE ? dwMessage : 0].load(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();

    std::atomic<int> m_nRefusalsLeft;
    std::atomic<int> m_nCalls[NIM_DELETE + 1] = {};
    std::atomic<HWND> m_hWnd = nullptr;
    std::thread m_thread;
};
