#include "notify/TrayIcon.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "notify/NotifyTestSupport.h"
#include "notify/TestHostWindow.h"

namespace
{
    constexpr WORD LANG_EN_US = 1033;
    constexpr WORD LANG_DE_DE = 1031;
    constexpr WORD LANG_ZH_CN = 2052;

    using MenuItems = std::vector<std::pair<UINT, std::wstring>>;

    class TrayIconTest : public ::testing::Test
    {
    protected:
        TrayIconTest() { m_host.ShowWindow(SW_SHOW); }

        bool IconShown() const { return TrayIconExists(m_host, TRAY_ICON_ID); }

        // MIN, and the messages its hiding causes run before the next user action
        // (a pending WM_CANCELMODE would close the next menu at once).
        void PutAway()
        {
            m_tray.AddTrayIcon();
            PumpFor(50);
        }

        // A right-button release on the icon with the menu driven by these keys.
        LRESULT RightClickWithKeys(std::vector<WORD> keys, WORD wLangId = LANG_EN_US)
        {
            m_host.m_menuKeys = std::move(keys);
            m_host.m_menuItems.clear();
            return m_tray.OnTrayNotify(TRAY_ICON_ID, WM_RBUTTONUP, wLangId);
        }

        TestHostWindow m_host;
        CTrayIcon m_tray{m_host};
    };
}

TEST_F(TrayIconTest, MinHidesBehindTheIconAndOnlyALeftReleaseBringsTheWindowBack)
{
    ASSERT_FALSE(m_tray.IsInTray());
    ASSERT_FALSE(IconShown());

    PutAway();
    EXPECT_TRUE(m_tray.IsInTray());
    EXPECT_FALSE(m_host.IsWindowVisible());
    EXPECT_TRUE(IconShown());

    // Moves, presses and double clicks do nothing; the release does it.
    for (LPARAM lMouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONUP})
    {
        EXPECT_EQ(m_tray.OnTrayNotify(TRAY_ICON_ID, lMouse, LANG_EN_US), 0);
        EXPECT_TRUE(m_tray.IsInTray()) << "mouse message " << lMouse;
        EXPECT_FALSE(m_host.IsWindowVisible()) << "mouse message " << lMouse;
    }

    EXPECT_EQ(m_tray.OnTrayNotify(TRAY_ICON_ID, WM_LBUTTONUP, LANG_EN_US), 0);
    EXPECT_FALSE(m_tray.IsInTray());
    EXPECT_TRUE(m_host.IsWindowVisible());
    EXPECT_FALSE(IconShown());
    EXPECT_EQ(::GetForegroundWindow(), m_host.GetSafeHwnd());
}

TEST_F(TrayIconTest, CallbackForAnotherIconAnswersOneAndChangesNothing)
{
    PutAway();
    for (LPARAM lMouse : {WM_LBUTTONUP, WM_RBUTTONUP})
    {
        EXPECT_EQ(m_tray.OnTrayNotify(TRAY_ICON_ID + 1, lMouse, LANG_EN_US), 1);
        EXPECT_EQ(m_tray.OnTrayNotify(0, lMouse, LANG_EN_US), 1);
    }
    EXPECT_TRUE(m_host.m_menuItems.empty()) << "no menu opened";
    EXPECT_TRUE(m_tray.IsInTray());
    EXPECT_FALSE(m_host.IsWindowVisible());
    EXPECT_TRUE(IconShown());
}

TEST_F(TrayIconTest, MenuSpeaksTheSystemLanguageAndEscapeLeavesEverythingAsItWas)
{
    PutAway();
    const MenuItems english = {{ID_TRAY_OPEN, L"01_Open Main UI"}, {ID_TRAY_EXIT, L"02_Exit"}};
    const MenuItems chinese = {{ID_TRAY_OPEN, L"01_\u6253\u5f00\u4e3b\u754c\u9762"}, {ID_TRAY_EXIT, L"02_\u9000\u51fa"}};
    const std::pair<WORD, MenuItems> cases[] = {
        {LANG_EN_US, english}, {LANG_DE_DE, english}, {LANG_ZH_CN, chinese}, {LANG_EN_US, english}};
    for (const auto& [wLangId, expected] : cases)
    {
        EXPECT_EQ(RightClickWithKeys({VK_ESCAPE}, wLangId), 0);
        // Built anew each time: still exactly the two items.
        EXPECT_EQ(m_host.m_menuItems, expected) << "language " << wLangId;
        EXPECT_TRUE(m_tray.IsInTray());
        EXPECT_FALSE(m_host.IsWindowVisible());
        EXPECT_TRUE(IconShown());
    }
}

TEST_F(TrayIconTest, MenuOpenItemRestoresLikeALeftClick)
{
    PutAway();
    EXPECT_EQ(RightClickWithKeys({VK_DOWN, VK_RETURN}), 0);
    ASSERT_FALSE(m_host.m_menuItems.empty()) << "the menu opened";
    EXPECT_FALSE(m_tray.IsInTray());
    EXPECT_TRUE(m_host.IsWindowVisible());
    EXPECT_FALSE(IconShown());

    // And the way round again.
    PutAway();
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(m_host.IsWindowVisible());
}

TEST_F(TrayIconTest, RestartedShellGetsTheIconBackOnlyWhileTheWindowIsInTheTray)
{
    // A restarted shell has no icons: take ours away behind the object's back.
    NOTIFYICONDATAA nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_host;
    nid.uID = TRAY_ICON_ID;

    PutAway();
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &nid));
    ASSERT_FALSE(IconShown());
    m_tray.OnTaskbarCreated(0, 0);
    EXPECT_TRUE(IconShown());
    EXPECT_TRUE(m_tray.IsInTray());

    m_tray.OnTrayNotify(TRAY_ICON_ID, WM_LBUTTONUP, LANG_EN_US);
    m_tray.OnTaskbarCreated(0, 0);
    EXPECT_FALSE(IconShown()) << "a shown window has no icon";
    EXPECT_GE(CTrayIcon::TaskbarCreatedMessage(), 0xC000u) << "a registered message";
}

TEST_F(TrayIconTest, DestroyedTrayIconTakesItsIconAlong)
{
    {
        CTrayIcon tray(m_host);
        tray.AddTrayIcon();
        ASSERT_TRUE(IconShown());
    }
    EXPECT_FALSE(IconShown());
}
