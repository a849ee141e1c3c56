// The sign-in start, "Velkor.exe /tray": the program starts as always but its
// window stays away in the notification area, never shown, until the user
// asks for it, and a second sign-in start leaves the running one alone.
#include "tests/e2e/FakeShellTray.h"
#include "tests/e2e/WindowShowWatch.h"
#include "tests/support/NotifyWindows.h"
#include "tests/support/VelkorSession.h"

#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace NotifyWindows;

TEST(TrayStart, WindowIsNeverShownWhileThePollRunsUntilTheTrayIconBringsItBack)
{
    VelkorSession velkor;
    WindowShowWatch watch;   // goes first, while the program still runs (see WindowShowWatch.h)
    SetPowerLevel(velkor, 0);
    ASSERT_TRUE(velkor.StartInTray());
    const HWND hMain = velkor.Main();
    EXPECT_FALSE(IsWindowVisible(hMain));

    // The poll runs, and a new level shows the popup where it stands after MIN.
    SetPowerLevel(velkor, 2);
    const HWND hPopup = WaitForPopupShown(velkor);
    ASSERT_NE(hPopup, nullptr) << "no popup: the power level is not polled";
    const RECT rcLowered = PopupPlace(velkor, true);
    EXPECT_TRUE(WaitUntil([&] { return WindowQuery::ScreenRect(hPopup).top == rcLowered.top; }, 5000))
        << "not lowered as in the tray";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(hPopup); })) << "the popup stays";
    EXPECT_FALSE(IsWindowVisible(hMain));

    // The icon's left click brings the window back, in front, and takes the icon away.
    EXPECT_EQ(ClickTrayIcon(velkor), 0);
    EXPECT_TRUE(IsWindowVisible(hMain));
    EXPECT_FALSE(WindowQuery::TrayIconExists(hMain, TRAY_ICON_ID));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hMain; }, 5000)) << "not brought to the front";

    // Watched from its creation on, the window was shown once: by the click.
    ASSERT_TRUE(WaitUntil([&] { return watch.Showings(hMain) > 0; })) << "the watch saw no showing at all";
    EXPECT_EQ(watch.Creations(hMain), 1) << "the window was made before the watch";
    EXPECT_EQ(watch.Showings(hMain), 1) << "shown before the click";
}

// "/tray" in any case and with one or two dashes instead of the slash; other
// arguments beside it are ignored, and without it the window shows as always.
TEST(TrayStart, OnlyTheTrayArgumentInAnyOfItsFormsStartsHidden)
{
    for (const wchar_t* pszArgs : {L"-TRAY", L"--Tray -x"})
    {
        SCOPED_TRACE(testing::Message() << "arguments " << testing::PrintToString(std::wstring(pszArgs)));
        VelkorSession velkor;
        ASSERT_TRUE(velkor.StartInTray(pszArgs));
        EXPECT_FALSE(IsWindowVisible(velkor.Main()));
    }
    VelkorSession velkor;
    velkor.Start({}, L"/trays tray \"/tray \" ---tray");
    ASSERT_TRUE(velkor.WaitForMainWindow());
    EXPECT_TRUE(IsWindowVisible(velkor.Main()));
    EXPECT_FALSE(WindowQuery::TrayIconExists(velkor.Main(), TRAY_ICON_ID));
}

// A tray utility runs once per session: a second start ends at once, before
// it loads io.dll or touches a port. A sign-in start leaves the running
// program as it is, in the tray or shown; one without the argument brings the
// window back, in front, as always.
TEST(TrayStart, ASecondStartEndsAtOnceAndOnlyAPlainOneBringsTheWindowBack)
{
    VelkorSession velkor;
    ASSERT_TRUE(velkor.StartInTray());
    const HWND hMain = velkor.Main();
    const auto startAgain = [&](const wchar_t* pszArgs) {
        std::unique_ptr<ChildProcess> second = velkor.Install().Start({}, pszArgs);
        ASSERT_TRUE(second->WaitForExit(20000)) << "the second start keeps running";
        EXPECT_EQ(second->ExitCode(), 0u);
    };
    // What a second start asks of the running one has been handled by the time
    // a poll begins after it: the timer waits for every message posted before.
    // The second read from now is such a poll; the first may have begun before.
    const auto waitForPoll = [&] {
        const size_t nReads = PowerLevelReads(velkor);
        ASSERT_TRUE(WaitUntil([&] { return PowerLevelReads(velkor) >= nReads + 2; })) << "the program stopped polling";
    };

    startAgain(L"/tray");
    waitForPoll();
    EXPECT_FALSE(IsWindowVisible(hMain)) << "the window came out of the tray";
    EXPECT_TRUE(WindowQuery::TrayIconExists(hMain, TRAY_ICON_ID));

    startAgain(L"");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(hMain) != FALSE; })) << "the window stayed away";
    EXPECT_TRUE(WaitUntil([&] { return !WindowQuery::TrayIconExists(hMain, TRAY_ICON_ID); })) << "the icon stayed";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hMain; }, 5000)) << "not brought to the front";

    startAgain(L"/TRAY");
    waitForPoll();
    EXPECT_TRUE(IsWindowVisible(hMain)) << "the shown window went away";
    EXPECT_FALSE(WindowQuery::TrayIconExists(hMain, TRAY_ICON_ID));
    EXPECT_TRUE(velkor.Process().IsRunning());

    // One probe in the log: the chip id read once, the control byte written once.
    const std::vector<EcOperation> ops = velkor.EcOperations();
    EXPECT_EQ(std::ranges::count(ops, EcRead(0x2000, 0x55)), 1);
    EXPECT_EQ(std::ranges::count(ops, EcWrite(0x1060, 0x80)), 1);
}

// Never hidden beyond reach: when the shell will not take the icon, the window
// of a sign-in start is shown after all, as MIN leaves it shown then.
TEST(TrayStart, WindowIsShownAfterAllWhenTheShellRefusesTheIcon)
{
    FakeShellTray shell(FakeShellTray::REFUSE_ALL);
    VelkorSession velkor;
    velkor.Start({}, L"/tray");
    ASSERT_TRUE(velkor.WaitForMainWindow()) << "no window: hidden with no icon to bring it back";
    EXPECT_TRUE(IsWindowVisible(velkor.Main()));
    EXPECT_GE(shell.Calls(NIM_ADD), 2) << "the shell was not asked again";
}
