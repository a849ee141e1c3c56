#include "notify/PowerWatch.h"

#include <gtest/gtest.h>

#include "notify/DlgPwrNotify.h"
#include "tests/support/notify/NotifyTestSupport.h"
#include "tests/support/notify/TestHostWindow.h"
#include "tests/support/notify/TestSkinFolder.h"
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

// 2, 0, 2 and 2, 7, 3 are driven against the real program in tests/e2e; a
// reading with the high bits set is only reachable here.
TEST_F(PowerWatchTest, ReadingWithHighBitsIsIgnoredAndDoesNotResetTheLevel)
{
    m_watch.Start(m_skin.Path());
    PollReading(2);
    ASSERT_TRUE(PopupShown());
    HidePopup();

    PollReading(255);
    EXPECT_FALSE(PopupShown());
    PollReading(2);
    EXPECT_FALSE(PopupShown()) << "255 between two 2s counted as a change";
    PollReading(1);
    ASSERT_TRUE(PopupShown());
    EXPECT_EQ(Popup()->m_nLevel, 1);
}

TEST_F(PowerWatchTest, StaticButtonStepsThePopupAndLeavesTheAcceptedLevelAlone)
{
    m_watch.Start(m_skin.Path());
    for (int nExpected : {0, 1, 2, 3, 1, 2})
    {
        if (Popup() != nullptr)
            Popup()->ShowWindow(SW_HIDE);
        m_watch.OnBnClickedStatic();
        ASSERT_TRUE(PopupShown());
        EXPECT_EQ(Popup()->m_nLevel, nExpected);
    }

    // The popup shows 2, but no level has been accepted: a reading of 2 is new.
    Popup()->ShowWindow(SW_HIDE);
    PollReading(2);
    EXPECT_TRUE(PopupShown());
    EXPECT_EQ(Popup()->m_nLevel, 2);
}
