#include "notify/TrayIcon.h"

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

TEST_F(TrayIconTest, DestroyedTrayIconTakesItsIconAlong)
{
    {
        CTrayIcon tray(m_host);
        tray.AddTrayIcon();
        ASSERT_TRUE(IconShown());
    }
    EXPECT_FALSE(IconShown());
}
