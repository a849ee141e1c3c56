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
    // watch, and hands the watch its timer ticks.
    class PowerWatchTest : public ::testing::Test
    {
    protected:
        PowerWatchTest()
        {
            SetPowerByte(0);
            m_host.m_onTimer = [this](UINT_PTR nIDEvent) { m_watch.OnTimer(nIDEvent); };
        }

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

TEST_F(PowerWatchTest, NewLevelShowsThePopupWithoutTakingTheFocusAndHidesItAgain)
{
    m_host.ShowWindow(SW_SHOW);
    m_host.SetForegroundWindow();
    ASSERT_EQ(::GetActiveWindow(), m_host.GetSafeHwnd());

    SetPowerByte(2);
    m_watch.Start(m_skin.Path());
    ASSERT_TRUE(PumpUntil([&] { return PopupShown(); })) << "the poll timer finds level 2";
    EXPECT_EQ(Popup()->m_nLevel, 2);
    EXPECT_FALSE(Popup()->m_bLowered);
    // Once it has placed itself and gone topmost the user's window still has the keyboard.
    ASSERT_TRUE(PumpUntil([&] { return (Popup()->GetExStyle() & WS_EX_TOPMOST) != 0; }));
    EXPECT_EQ(::GetActiveWindow(), m_host.GetSafeHwnd());
    EXPECT_EQ(::GetForegroundWindow(), m_host.GetSafeHwnd());

    EXPECT_TRUE(PumpUntil([&] { return !PopupShown(); })) << "the hide timer takes it away";
    EXPECT_FALSE(PumpUntil([&] { return PopupShown(); }, 2000)) << "an unchanged level shows nothing";
    EXPECT_EQ(::GetActiveWindow(), m_host.GetSafeHwnd());
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

TEST_F(PowerWatchTest, PopupFirstShownWhileInTheTrayStandsLowerAndKeepsThatPlace)
{
    m_host.ShowWindow(SW_SHOW);
    m_watch.Start(m_skin.Path());
    m_tray.AddTrayIcon();

    PollReading(1);
    ASSERT_TRUE(PopupShown());
    EXPECT_TRUE(Popup()->m_bLowered);
    ASSERT_TRUE(PumpUntil([&] { return (Popup()->GetExStyle() & WS_EX_TOPMOST) != 0; }));
    CRect rcDesktop, rcPlaced;
    ::GetWindowRect(::GetDesktopWindow(), &rcDesktop);
    Popup()->GetWindowRect(&rcPlaced);
    EXPECT_EQ(rcPlaced, CRect(CPoint((rcDesktop.Width() - 300) / 2, (rcDesktop.Height() - 200) / 2 + 100), CSize(300, 200)));

    m_tray.OnTrayNotify(TRAY_ICON_ID, WM_LBUTTONUP, 0x0409);
    HidePopup();
    PollReading(2);
    ASSERT_TRUE(PopupShown());
    EXPECT_FALSE(Popup()->m_bLowered);
    PumpFor(200);
    CRect rcNow;
    Popup()->GetWindowRect(&rcNow);
    EXPECT_EQ(rcNow, rcPlaced);
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
