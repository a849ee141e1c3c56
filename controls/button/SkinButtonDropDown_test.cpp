#include "controls/button/SkinButton.h"

#include "controls/button/dropdown_test_resource.h"
#include "controls/menu/SkinMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const UINT ID_DROP_BUTTON = 200;
const char TARGET_CLASS[] = "VelkorDropTarget";

// What the button and the target saw, in order.
std::vector<std::string> g_events;

// A button that notes the pressed look of each paint and, once it paints
// pressed, posts the keys that drive its open menu (the menu's loop reads them).
class CRecordingButton : public CSkinButton
{
public:
    std::vector<UINT> m_menuKeys;

protected:
    DWORD DrawFaceBackground(CDC* pDC, const CRect* pRect) override
    {
        g_events.push_back(m_bPressedLook ? "pressed" : "unpressed");
        if (m_bPressedLook && m_bMenuOpen) {
            for (const UINT nKey : m_menuKeys)
                PostMessage(WM_KEYDOWN, nKey, 0);
            m_menuKeys.clear();
        }
        return CSkinButton::DrawFaceBackground(pDC, pRect);
    }
};

bool IsMenuShown()
{
    const HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
    return hMenuWnd != nullptr && ::IsWindowVisible(hMenuWnd);
}

LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_events.push_back("command " + std::to_string(LOWORD(wParam)) + (IsMenuShown() ? " under the menu" : ""));
    else if (message == WM_APP)
        g_events.push_back("done");
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
        wc.lpszClassName = TARGET_CLASS;
        ::RegisterClassA(&wc);
        m_hTarget = ::CreateWindowExA(0, TARGET_CLASS, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
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
        g_events.clear();
    }

    // Clicks the button as the user would (its parent gets BN_CLICKED), then
    // lets every posted message arrive.
    std::vector<std::string> Click()
    {
        g_events.clear();
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DROP_BUTTON, BN_CLICKED),
                             reinterpret_cast<LPARAM>(m_button.m_hWnd));
        ::PostMessageA(m_hTarget, WM_APP, 0, 0);
        MSG msg;
        while (g_events.empty() || g_events.back() != "done") {
            if (::GetMessageA(&msg, nullptr, 0, 0) <= 0)
                break;
            ::DispatchMessageA(&msg);
        }
        return g_events;
    }

    // The events from the last pressed paint on.
    static std::vector<std::string> FromLastPressed(const std::vector<std::string>& events)
    {
        for (size_t i = events.size(); i-- > 0;)
            if (events[i] == "pressed")
                return std::vector<std::string>(events.begin() + static_cast<std::ptrdiff_t>(i), events.end());
        return {};
    }

    HWND m_hTarget = nullptr;
    CWnd m_parent;
    CRecordingButton m_button;
    UINT_PTR m_nStuckTimer = 0;
};
}

TEST_F(SkinButtonDropDown, ChoosingAnItemPostsItsCommandAfterTheMenuClosed)
{
    ASSERT_TRUE(m_button.SetDropMenu(IDM_TEST_DROPDOWN, m_hTarget));
    m_button.m_menuKeys = {VK_DOWN, VK_DOWN, VK_RETURN};
    const auto events = FromLastPressed(Click());
    const std::vector<std::string> expected = {"pressed", "unpressed", "command " + std::to_string(ID_TEST_SECOND),
                                               "done"};
    EXPECT_EQ(expected, events);
}

TEST_F(SkinButtonDropDown, DismissingTheMenuPostsNothing)
{
    ASSERT_TRUE(m_button.SetDropMenu(IDM_TEST_DROPDOWN, m_hTarget));
    m_button.m_menuKeys = {VK_ESCAPE};
    const auto events = FromLastPressed(Click());
    const std::vector<std::string> expected = {"pressed", "unpressed", "done"};
    EXPECT_EQ(expected, events);
}

TEST_F(SkinButtonDropDown, AButtonWithoutAMenuNeverShowsOne)
{
    m_button.m_menuKeys = {VK_RETURN};
    for (const std::string& strEvent : Click())
        EXPECT_NE("pressed", strEvent);

    // A template that cannot be loaded takes an earlier menu away.
    ASSERT_TRUE(m_button.SetDropMenu(IDM_TEST_DROPDOWN, m_hTarget));
    EXPECT_FALSE(m_button.SetDropMenu(4711, m_hTarget));
    for (const std::string& strEvent : Click())
        EXPECT_NE("pressed", strEvent);
}

TEST_F(SkinButtonDropDown, MeasuringAndMnemonicsGoToTheMenuForItsOwnPopups)
{
    ASSERT_TRUE(m_button.SetDropMenu(IDM_TEST_DROPDOWN, m_hTarget));
    CSkinMenu root;
    ASSERT_TRUE(root.LoadFromResource(IDM_TEST_DROPDOWN));
    const HMENU hPopup = ::GetSubMenu(root.m_hMenu, 0);
    const auto* pPopup = dynamic_cast<CSkinMenu*>(CMenu::FromHandlePermanent(hPopup));
    ASSERT_NE(nullptr, pPopup);

    // A popup item of one of the class's menus is measured by the menu.
    CSkinMenuData record;
    record.SetTextW(L"Sub");
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hPopup));
    measure.itemData = reinterpret_cast<ULONG_PTR>(&record);
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_GT(measure.itemWidth, 33u);
    EXPECT_GE(measure.itemHeight, 19u);

    // A command item of the menu reaches the popup that holds it.
    measure.itemWidth = measure.itemHeight = 0;
    measure.itemID = ID_TEST_FIRST;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&pPopup->GetRecord(0));
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_GT(measure.itemWidth, 33u);

    // Another menu's popup is left to the default handling.
    CMenu foreign;
    ASSERT_TRUE(foreign.CreatePopupMenu());
    measure.itemWidth = measure.itemHeight = 0;
    measure.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(foreign.m_hMenu));
    measure.itemData = reinterpret_cast<ULONG_PTR>(&record);
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(0u, measure.itemWidth);

    EXPECT_EQ(0x20001, m_button.SendMessage(WM_MENUCHAR, MAKEWPARAM('s', MF_POPUP), reinterpret_cast<LPARAM>(hPopup)));
    foreign.AppendMenu(MF_STRING, 9, "&Something");
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
