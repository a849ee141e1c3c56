#include "notify/PowerWatch.h"

#include <gtest/gtest.h>

#include "notify/DlgPwrNotify.h"
#include "notify/NotifyTestSupport.h"
#include "notify/TestHostWindow.h"
#include "notify/TestSkinFolder.h"
#include "notify/TrayIcon.h"

namespace
{
    // The main dialog's share of the watch: it owns the tray icon and the
    // watch. The tests hand the watch its timer ticks themselves.
    class PowerWatchTest : public ::testing::Test
    {
    protected:
        PowerWatchTest() { SetPowerByte(0); }

        // One poll tick, as timer 1 delivers it, reading byValue.
        void PollReading(BYTE byValue)
        {
            SetPowerByte(byValue);
            m_watch.OnTimer(CPowerWatch::POLL_TIMER_ID);
        }

        CDlgPwrNotify* Popup() const { return PopupOwnedBy(m_host); }
        bool PopupShown() const { return Popup() != nullptr && Popup()->IsWindowVisible(); }

        void HidePopup() { m_watch.OnTimer(CPowerWatch::HIDE_TIMER_ID); }

        TestSkinFolder m_skin;
        TestHostWindow m_host;
        CTrayIcon m_tray{m_host};
        CPowerWatch m_watch{m_host, ProcessEc(), m_tray};
    };
}

TEST_F(PowerWatchTest, InvalidReadingsAreIgnoredAndNeverResetTheLastLevel)
{
    m_watch.Start(m_skin.Path());
    PollReading(0);
    EXPECT_EQ(Popup(), nullptr) << "no valid level yet";

    PollReading(2);
    ASSERT_TRUE(PopupShown());
    HidePopup();
    EXPECT_FALSE(PopupShown());

    PollReading(0);
    EXPECT_FALSE(PopupShown());
    PollReading(2);
    EXPECT_FALSE(PopupShown()) << "2, 0, 2 is one change";

    PollReading(7);
    EXPECT_FALSE(PopupShown());
    PollReading(255);
    EXPECT_FALSE(PopupShown());
    PollReading(3);
    ASSERT_TRUE(PopupShown()) << "2, 7, 3 is two changes";
    EXPECT_EQ(Popup()->m_nLevel, 3);
    HidePopup();

    PollReading(1);
    EXPECT_TRUE(PopupShown());
    EXPECT_EQ(Popup()->m_nLevel, 1);
}

TEST_F(PowerWatchTest, StaticButtonStepsThePopupAndLeavesTheAcceptedLevelAlone)
{
    m_watch.Start(m_skin.Path());
    m_watch.OnBnClickedStatic();
    ASSERT_TRUE(PopupShown()) << "the first click creates the popup";
    EXPECT_EQ(Popup()->m_nLevel, 0);

    for (int nExpected : {1, 2, 3, 1, 2})
    {
        Popup()->ShowWindow(SW_HIDE);
        m_watch.OnBnClickedStatic();
        EXPECT_TRUE(PopupShown());
        EXPECT_EQ(Popup()->m_nLevel, nExpected);
    }

    // The popup shows 2, but no level has been accepted: a reading of 2 is new.
    Popup()->ShowWindow(SW_HIDE);
    PollReading(2);
    EXPECT_TRUE(PopupShown());
    EXPECT_EQ(Popup()->m_nLevel, 2);
}
