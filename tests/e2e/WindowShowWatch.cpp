#include "tests/e2e/WindowShowWatch.h"

#include "tests/support/FileSystem.h"
#include "tests/support/Wait.h"
#include "tests/tools/window_show_hook.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

WindowShowWatch::WindowShowWatch()
    : m_thread(&WindowShowWatch::Run, this),
      m_hookDll(LoadLibraryW((FileSystem::ModuleFolder() + L"\\..\\tests\\tools\\window_show_hook.dll").c_str()))
{
    WaitUntil([&] { return m_nState.load() != 0; }, 10000);
    const auto pfnHook = m_hookDll ? reinterpret_cast<HOOKPROC>(
                                         reinterpret_cast<void*>(GetProcAddress(m_hookDll.Get(), WINDOW_SHOW_HOOK_PROC))
                                     )
                                   : nullptr;
    if (m_nState.load() == 1 && pfnHook != nullptr)
        m_hook.Reset(SetWindowsHookExW(WH_CALLWNDPROC, pfnHook, m_hookDll.Get(), 0));
    if (!m_hook)
    {
        CloseSink();
        throw std::runtime_error("the window hook could not be set");
    }
}

WindowShowWatch::~WindowShowWatch()
{
    m_hook.Reset();
    std::set<HWND> seen;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Report& report : m_reports)
            seen.insert(report.hWnd);
    }
    for (HWND hWnd : seen)
        SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    CloseSink();
}

void WindowShowWatch::CloseSink()
{
    if (m_hSink.load() != nullptr)
        PostMessageW(m_hSink, WM_CLOSE, 0, 0);
    m_thread.join();
}

int WindowShowWatch::Count(HWND hWnd, bool bShown) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(std::count_if(m_reports.begin(), m_reports.end(), [&](const Report& report) {
        return report.hWnd == hWnd && report.bShown == bShown;
    }));
}

LRESULT CALLBACK WindowShowWatch::SinkProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pWatch = reinterpret_cast<WindowShowWatch*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pWatch != nullptr && (message == WM_WATCHED_CREATE || message == WM_WATCHED_SHOW))
    {
        std::lock_guard<std::mutex> lock(pWatch->m_mutex);
        pWatch->m_reports.push_back({reinterpret_cast<HWND>(wParam), message == WM_WATCHED_SHOW});
        return 0;
    }
    if (message == WM_CLOSE)
    {
        DestroyWindow(hWnd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

// The sink is a message-only window, which the hook finds by its class.
void WindowShowWatch::Run()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &WindowShowWatch::SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = WINDOW_SHOW_SINK_CLASS;
    RegisterClassW(&wc);
    HWND hSink =
        CreateWindowW(WINDOW_SHOW_SINK_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hSink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hSink = hSink;
    m_nState = hSink != nullptr ? 1 : -1;

    MSG msg;
    while (hSink != nullptr && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    UnregisterClassW(WINDOW_SHOW_SINK_CLASS, wc.hInstance);
}
