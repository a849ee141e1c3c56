#include "controls/button/SkinButton.h"
#include "controls/button/SkinButtonPainter.h"

#include "tests/support/button/ButtonTestResources.h"
#include "controls/menu/SkinMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace
{
const UINT ID_DROP_BUTTON = 200;

// What the button and the target saw, in order; where the open menu stood,
// and the keys that drive it once it shows.
std::vector<std::string> g_events;
CRect g_rcMenu;
std::vector<UINT> g_menuKeys;

// Runs inside the menu's own loop: notes where the menu stands, then sends the keys.
void CALLBACK DriveOpenMenu(HWND hWnd, UINT, UINT_PTR nTimer, DWORD)
{
    ::KillTimer(hWnd, nTimer);
    const HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
    if (hMenuWnd != nullptr && ::IsWindowVisible(hMenuWnd))
        ::GetWindowRect(hMenuWnd, &g_rcMenu);
    for (const UINT nKey : g_menuKeys)
        ::PostMessageA(hWnd, WM_KEYDOWN, nKey, 0);
    g_menuKeys.clear();
}

// A button that notes the pressed look of each paint and drives its menu once it paints pressed.
class CRecordingButton : public CSkinButton
{
protected:
    DWORD DrawFaceBackground(CDC* pDC, const CRect* pRect, const CSkinButtonPainter& painter) override
    {
        g_events.push_back(painter.IsPressedLook() ? "pressed" : "unpressed");
        if (painter.IsPressedLook() && m_bMenuOpen)
            ::SetTimer(m_hWnd, 1, 10, DriveOpenMenu);
        return CSkinButton::DrawFaceBackground(pDC, pRect, painter);
    }
};

LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        const HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
        const bool bMenuShown = hMenuWnd != nullptr && ::IsWindowVisible(hMenuWnd);
        g_events.push_back("command " + std::to_string(LOWORD(wParam)) + (bMenuShown ? " under the menu" : ""));
    } else if (message == WM_APP) {
        g_events.push_back("done");
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A menu left open by a broken test is closed instead of hanging the run.
void CALLBACK CloseStuckMenu(HWND, UINT, UINT_PTR, DWORD)
{
    ::EndMenu();
}

class SkinButtonDropDown : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TargetProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelkorDropTarget";
        ::RegisterClassA(&wc);
        m_hTarget = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_hTarget);
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 250), nullptr, 0));
        const HWND hButton = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 40,
                                               m_parent, reinterpret_cast<HMENU>(ID_DROP_BUTTON), nullptr, nullptr);
        ASSERT_TRUE(m_button.SubclassWindow(hButton));
        m_button.UpdateWindow();
        m_nStuckTimer = ::SetTimer(nullptr, 0, 10000, CloseStuckMenu);
    }

    void TearDown() override
    {
        ::KillTimer(nullptr, m_nStuckTimer);
        ::DestroyWindow(m_hTarget);
    }

    // Clicks the button as the user would (its parent gets BN_CLICKED) with
    // these keys for its menu, lets every posted message arrive and answers
    // the events from the last pressed paint on (none when it never painted pressed).
    std::vector<std::string> Click(const std::vector<UINT>& keys)
    {
        g_events.clear();
        g_menuKeys = keys;
        g_rcMenu.SetRectEmpty();
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DROP_BUTTON, BN_CLICKED),
                             reinterpret_cast<LPARAM>(m_button.m_hWnd));
        ::PostMessageA(m_hTarget, WM_APP, 0, 0);
        MSG msg;
        while ((g_events.empty() || g_events.back() != "done") && ::GetMessageA(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&msg);
        const auto itPressed = std::find(g_events.rbegin(), g_events.rend(), "pressed");
        if (itPressed == g_events.rend())
            return {};
        return std::vector<std::string>(std::next(itPressed).base(), g_events.end());
    }

    HWND m_hTarget = nullptr;
    CWnd m_parent;
    CRecordingButton m_button;
    UINT_PTR m_nStuckTimer = 0;
};
}

TEST_F(SkinButtonDropDown, MenuOpensBelowTheButtonAndPostsTheChosenCommandAfterItClosed)
{
    ASSERT_TRUE(m_button.SetDropMenu(IDM_TEST_DROPDOWN, m_hTarget));
    const std::vector<std::string> chosen{"pressed", "unpressed", "command " + std::to_string(ID_TEST_SECOND), "done"};
    EXPECT_EQ(chosen, Click({VK_DOWN, VK_DOWN, VK_RETURN}));
    CRect rcButton;
    m_button.GetWindowRect(&rcButton);
    EXPECT_EQ(CPoint(rcButton.left, rcButton.bottom), g_rcMenu.TopLeft());
    EXPECT_EQ((std::vector<std::string>{"pressed", "unpressed", "done"}), Click({VK_ESCAPE}));

    // A template that cannot be loaded takes the earlier menu away.
    EXPECT_FALSE(m_button.SetDropMenu(4711, m_hTarget));
    EXPECT_TRUE(Click({VK_RETURN}).empty());
}

TEST_F(SkinButtonDropDown, MeasuringAndMnemonicsGoToTheMenuForItsOwnPopupsOnly)
{
    ASSERT_TRUE(m_button.SetDropMenu(IDM_TEST_DROPDOWN, m_hTarget));
    CSkinMenu root;
    ASSERT_TRUE(root.LoadFromResource(IDM_TEST_DROPDOWN));
    const HMENU hPopup = ::GetSubMenu(root.m_hMenu, 0);
    CMenu foreign;
    ASSERT_TRUE(foreign.CreatePopupMenu());
    foreign.AppendMenu(MF_STRING, 9, "&Something");
    CSkinMenuData record;
    record.SetTextW(L"Sub");

    // A popup item of one of the class's menus and a command item of the menu
    // are measured; another menu's popup is left to the default handling.
    const UINT_PTR nForeign = reinterpret_cast<UINT_PTR>(foreign.m_hMenu);
    for (const UINT_PTR nItemId : {reinterpret_cast<UINT_PTR>(hPopup), UINT_PTR(ID_TEST_FIRST), nForeign}) {
        MEASUREITEMSTRUCT measure = {ODT_MENU, 0, static_cast<UINT>(nItemId), 0, 0, reinterpret_cast<ULONG_PTR>(&record)};
        m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        EXPECT_EQ(nItemId != nForeign, measure.itemWidth > 33u) << nItemId;
    }
    EXPECT_EQ(0x20001, m_button.SendMessage(WM_MENUCHAR, MAKEWPARAM('s', MF_POPUP), reinterpret_cast<LPARAM>(hPopup)));
    EXPECT_EQ(0, m_button.SendMessage(WM_MENUCHAR, MAKEWPARAM('s', MF_POPUP),
                                      reinterpret_cast<LPARAM>(foreign.m_hMenu)));
}

TEST(SkinButtonDropDownLifetime, DestroyingTheButtonTakesItsMenuAlong)
{
    const size_t nPopupsBefore = CSkinMenu::m_AllPopupHandles.size();
    {
        CSkinButton button;
        ASSERT_TRUE(button.SetDropMenu(IDM_TEST_DROPDOWN, nullptr));
        EXPECT_EQ(nPopupsBefore + 1, CSkinMenu::m_AllPopupHandles.size());
    }
    EXPECT_EQ(nPopupsBefore, CSkinMenu::m_AllPopupHandles.size());
    EXPECT_EQ(nullptr, CMenu::FindPermanentHolding(ID_TEST_FIRST));
}
