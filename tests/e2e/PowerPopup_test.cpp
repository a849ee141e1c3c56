// The power-level popup as a user meets it: the EC's power byte changes, the
// popup shows the level's picture for a moment, centred on the screen.
#include "tests/e2e/WindowShowWatch.h"
#include "tests/support/NotifyWindows.h"
#include "tests/support/VelkorSession.h"

#include "tests/support/UserInput.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <string>

using namespace NotifyWindows;

namespace
{
    class PowerLevelPopup : public ::testing::Test
    {
    protected:
        void Start(BYTE byLevelAtStart)
        {
            SetPowerLevel(velkor, byLevelAtStart);
            ASSERT_TRUE(velkor.StartShown());
        }

        VelkorSession velkor;
    };

    bool StandsAt(HWND hPopup, const RECT& rc)
    {
        const RECT rcPopup = WindowQuery::ScreenRect(hPopup);
        return EqualRect(&rcPopup, &rc) != FALSE;
    }
}

TEST_F(PowerLevelPopup, LevelAtStartShowsTheGreenPictureCentredOnceAndHidesIt)
{
    Start(2);
    HWND hPopup = WaitForPopupShown(velkor);
    ASSERT_NE(hPopup, nullptr) << "no popup for level 2";
    EXPECT_TRUE(WaitUntil([&] { return StandsAt(hPopup, PopupPlace(velkor, false)); }, 5000))
        << "not centred at the level-1 picture's size";
    EXPECT_TRUE(WaitUntil([&] { return PopupShows(velkor, hPopup, L"Perf_P2_Green.bmp"); }, 5000));
    EXPECT_TRUE(GetWindowLongW(hPopup, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hPopup); }, 10000)) << "the popup stays";
    EXPECT_EQ(CountShowingsOverReads(velkor), 0) << "an unchanged level showed the popup again";
}

// The popup takes no focus, shown first or again: past its placing and its
// topmost step, the keyboard stays with the main window. (Which power bytes
// count as a change is the power storm's to check, byte by byte.)
TEST_F(PowerLevelPopup, ShowingsLeaveTheKeyboardWithTheMainWindow)
{
    Start(0);
    ASSERT_TRUE(UserInput::BringToFront(velkor.Main()));
    for (const BYTE byLevel : {2, 3})
    {
        SetPowerLevel(velkor, byLevel);
        const HWND hPopup = WaitForPopupShown(velkor);
        ASSERT_NE(hPopup, nullptr) << "level " << int{byLevel};
        ASSERT_TRUE(WaitUntil([&] { return PowerText(hPopup) == L"PowerLevel 0x30= " + std::to_wstring(byLevel); }));
        ASSERT_TRUE(WaitUntil([&] { return (GetWindowLongW(hPopup, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000));
        EXPECT_EQ(GetForegroundWindow(), velkor.Main()) << "level " << int{byLevel};
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hPopup); }));
        // Three more reads: the first showing's own end (a second after its
        // placing) has come, and cannot cut the next showing short unseen.
        EXPECT_EQ(CountShowingsOverReads(velkor), 0) << "an unchanged level showed the popup again";
    }
}

TEST_F(PowerLevelPopup, FirstLevelWhileInTheTrayPutsThePopupLowerForGood)
{
    WindowShowWatch watch;   // goes before the fixture's program (see WindowShowWatch.h)
    Start(0);
    ASSERT_TRUE(UserInput::BringToFront(velkor.Main()));
    UserInput::ClickCentre(velkor.Control(IDC_MIN));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(velkor.Main()); }));

    SetPowerLevel(velkor, 1);
    HWND hPopup = WaitForPopupShown(velkor);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return StandsAt(hPopup, PopupPlace(velkor, true)); }, 5000))
        << "not half its height below the centre";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hPopup); }));
    ASSERT_TRUE(WaitUntil([&] { return watch.Showings(hPopup) == 1; }));

    // Back from the tray, the next level shows the popup where it stood. The
    // watch sees that showing even when the popup's own end of its first
    // showing, still to come, cuts it short.
    EXPECT_EQ(ClickTrayIcon(velkor), 0);
    ASSERT_TRUE(IsWindowVisible(velkor.Main()));
    SetPowerLevel(velkor, 3);
    ASSERT_TRUE(WaitUntil([&] { return watch.Showings(hPopup) >= 2; })) << "the next level showed no popup";
    EXPECT_EQ(PowerPopup(velkor), hPopup) << "the popup is created once and shown again";
    EXPECT_TRUE(StandsAt(hPopup, PopupPlace(velkor, true)));
}

TEST_F(PowerLevelPopup, StaticButtonStepsThePopupFromZero)
{
    Start(0);
    auto clickStatic = [&] {
        PostMessageW(
            velkor.Main(), WM_COMMAND, MAKEWPARAM(IDC_STATIC_BTN, BN_CLICKED),
            reinterpret_cast<LPARAM>(velkor.Control(IDC_STATIC_BTN))
        );
    };

    clickStatic();
    HWND hPopup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hPopup = PowerPopup(velkor)) != nullptr; }))
        << "the first click creates the popup";
    EXPECT_TRUE(WaitUntil([&] { return PowerText(hPopup) == L"PowerLevel 0x30= 0"; }, 5000)) << "no level was read yet";
    // The first showing ends by itself; later ones stay until a level is accepted.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hPopup); }));

    const struct
    {
        int nLevel;
        const wchar_t* pszPicture;
    } steps[] = {
        {1, L"Perf_P1_Blue.bmp"}, {2, L"Perf_P2_Green.bmp"}, {3, L"Perf_P3_Red.bmp"}, {1, L"Perf_P1_Blue.bmp"}};
    for (const auto& step : steps)
    {
        clickStatic();
        const std::wstring strText = L"PowerLevel 0x30= " + std::to_wstring(step.nLevel);
        EXPECT_TRUE(WaitUntil([&] { return PowerText(hPopup) == strText; }, 5000)) << "step to " << step.nLevel;
        EXPECT_TRUE(WaitUntil([&] { return PopupShows(velkor, hPopup, step.pszPicture); }, 5000))
            << "step to " << step.nLevel;
    }
}
