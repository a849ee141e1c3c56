#include "tests/e2e/FakeShellTray.h"

#include "tests/support/Wait.h"

#include <stdexcept>

namespace
{
    // Wine's shell32 finds the tray by this class and hands it each call as
    // WM_COPYDATA, the NIM_ code in dwData.
    constexpr wchar_t TRAY_CLASS[] = L"Shell_TrayWnd";
}

FakeShellTray::FakeShellTray(int nRefusals)
    : m_nRefusalsLeft(nRefusals),
      m_thread(&FakeShellTray::Run, this)
{
    if (!WaitUntil([&] { return m_hWnd.load() != nullptr; }, 5000))
        throw std::runtime_error("the fake notification area was not made");
}

FakeShellTray::~FakeShellTray()
{
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    m_thread.join();
}

void FakeShellTray::Run()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &FakeShellTray::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = TRAY_CLASS;
    RegisterClassW(&wc);
    // Topmost and newest: found before the real tray, which is made earlier.
    HWND hWnd = CreateWindowExW(
        WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TRAY_CLASS, L"", WS_POPUP, -100, -100, 1, 1, nullptr, nullptr, wc.hInstance,
        this
    );
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hWnd = hWnd;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    UnregisterClassW(TRAY_CLASS, wc.hInstance);
}

LRESULT CALLBACK FakeShellTray::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pTray = reinterpret_cast<FakeShellTray*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_COPYDATA && pTray != nullptr)
    {
        const auto* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (pData->dwData <= NIM_DELETE)
            ++pTray->m_nCalls[pData->dwData];
        int nLeft = pTray->m_nRefusalsLeft.load();
        if (nLeft == REFUSE_ALL)
            return FALSE;
        if (nLeft > 0)
        {
            pTray->m_nRefusalsLeft = nLeft - 1;
            return FALSE;
        }
        return TRUE;
    }
    if (message == WM_CLOSE)
    {
        DestroyWindow(hWnd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}
