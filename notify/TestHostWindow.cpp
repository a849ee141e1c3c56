#include "notify/TestHostWindow.h"

TestHostWindow::TestHostWindow()
{
    CreateEx(0, nullptr, "notify test host", WS_POPUP, CRect(100, 100, 400, 300), nullptr, 0);
}

const MessageMap* TestHostWindow::GetMessageMap() const
{
    static const MessageMap map = MessageMap::Of<TestHostWindow>(CWnd::GetThisMessageMap(), {
        OnMessage(WM_INITMENUPOPUP, &TestHostWindow::OnInitMenuPopup),
        OnMessage(WM_ENTERIDLE, &TestHostWindow::OnEnterIdle),
    });
    return &map;
}

LRESULT TestHostWindow::OnInitMenuPopup(WPARAM wParam, LPARAM)
{
    const HMENU hMenu = reinterpret_cast<HMENU>(wParam);
    m_menuItems.clear();
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
    {
        wchar_t szText[64] = {};
        ::GetMenuStringW(hMenu, i, szText, 64, MF_BYPOSITION);
        m_menuItems.emplace_back(::GetMenuItemID(hMenu, i), szText);
    }
    return 0;
}

LRESULT TestHostWindow::OnEnterIdle(WPARAM wParam, LPARAM lParam)
{
    if (wParam == MSGF_MENU)
    {
        // A menu the test gave no keys for is closed, so that it never hangs the run.
        if (m_menuKeys.empty())
            m_menuKeys.push_back(VK_ESCAPE);
        const HWND hWndMenu = reinterpret_cast<HWND>(lParam);
        for (WORD wVk : m_menuKeys)
            ::PostMessageW(hWndMenu, WM_KEYDOWN, wVk, 0);
        m_menuKeys.clear();
    }
    return 0;
}
