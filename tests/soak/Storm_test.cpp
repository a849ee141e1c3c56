// Bad input from outside: a storm of random commands, tray callbacks and timer
// ids leaves the program answering and its state consistent; every power byte
// value, in random order, shows the popup exactly for changes among 1, 2 and 3.
#include "tests/support/VelkorSession.h"
#include "tests/soak/Soak.h"
#include "tests/support/EcState.h"
#include "tests/support/NotifyWindows.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <numeric>
#include <random>
#include <vector>

namespace
{
    const int ID_HELP = 0xE146;   // would start the help viewer

    unsigned Seed()
    {
        const unsigned nSeed = std::random_device()();
        std::printf("random seed %u\n", nSeed);
        return nSeed;
    }

    // Commands that end the process by design (Exit, OK, the tray menu's exit)
    // or open another program are left out of the storm.
    bool IsExcludedCommand(int nId)
    {
        return nId == IDOK || nId == IDC_EXIT || nId == ID_TRAY_EXIT || nId == ID_HELP;
    }

    // One random message of the three kinds; never the tray's right-button release
    // on the icon, whose menu would wait for a user.
    void PostRandomMessage(HWND hMain, std::mt19937& rng)
    {
        static const int KNOWN_IDS[] = {IDCANCEL, IDC_ON,   IDC_RAINBOW, IDC_STATIC_BTN, IDC_BREATH,   IDC_COLORLOOP,
                                        IDC_MIN,  IDC_AUTO, IDC_TEST,    IDC_PWR_TEXT,   ID_TRAY_OPEN, 12,
                                        0x10,     0};
        static const LPARAM MOUSE[] = {WM_MOUSEMOVE,     WM_LBUTTONDOWN, WM_LBUTTONUP,
                                       WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK,
                                       WM_MBUTTONUP,     0x0400,         0x0405};
        switch (rng() % 3)
        {
        case 0: {
            int nId = (rng() % 2) ? KNOWN_IDS[rng() % std::size(KNOWN_IDS)] : static_cast<int>(rng() & 0xFFFF);
            if (IsExcludedCommand(nId))
                nId = IDCANCEL;
            const WORD wCode = (rng() % 2) ? BN_CLICKED : static_cast<WORD>(rng());
            HWND hControl = GetDlgItem(hMain, nId);
            PostMessageW(
                hMain, WM_COMMAND, MAKEWPARAM(nId, wCode), reinterpret_cast<LPARAM>((rng() % 2) ? hControl : nullptr)
            );
            break;
        }
        case 1: {
            const WPARAM wId = (rng() % 2) ? TRAY_ICON_ID : rng();
            LPARAM lMouse = (rng() % 4) ? MOUSE[rng() % std::size(MOUSE)] : static_cast<LPARAM>(rng());
            if (lMouse == WM_RBUTTONUP)
                lMouse = WM_MOUSEMOVE;
            PostMessageW(hMain, WM_TRAYNOTIFY, wId, lMouse);
            break;
        }
        default:
            // lParam stays 0: a non-zero one is a timer procedure to the system.
            PostMessageW(hMain, WM_TIMER, (rng() % 2) ? 1 + rng() % 4 : rng(), 0);
            break;
        }
    }
}

TEST(Storm, RandomCommandsTrayCallbacksAndTimersLeaveItAnsweringAndConsistent)
{
    const unsigned nMessages = Soak::Length(3000, 100000);
    std::mt19937 rng(Seed());
    VelkorSession velkor;
    ASSERT_TRUE(velkor.StartShown());
    HWND hMain = velkor.Main();

    for (unsigned i = 0; i < nMessages; ++i)
    {
        PostRandomMessage(hMain, rng);
        if (i % 200 == 199)
        {
            ASSERT_TRUE(VelkorSession::Responds(hMain)) << "no answer after " << i + 1 << " messages";
        }
    }
    // Posted messages queue behind sent ones: wait until the storm's EC writes stop.
    size_t nWrites = 0, nStable = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const size_t n = velkor.EcWrites().size();
            nStable = n == nWrites ? nStable + 1 : 0;
            nWrites = n;
            return nStable >= 50;   // about a second without a new write
        },
        120000
    )) << "the storm's mode changes never ended";
    ASSERT_TRUE(VelkorSession::Responds(hMain));
    ASSERT_TRUE(velkor.Process().IsRunning()) << "exit code " << velkor.Process().ExitCode().value_or(0);
    EXPECT_TRUE(WindowQuery::MessageBoxes(velkor.Process().Pid()).empty());

    // Every mode the storm set is one of the five (the log is decoded strictly,
    // so a torn EC access would fail here too).
    for (std::uint8_t byMode : velkor.ModeBytesWritten())
        EXPECT_LE(byMode, 4);

    // The tray and the buttons still work as a user expects.
    ASSERT_EQ(NotifyWindows::ClickTrayIcon(velkor), 0);
    EXPECT_TRUE(IsWindowVisible(hMain));
    const size_t nBefore = velkor.EcWrites().size();
    ASSERT_TRUE(VelkorSession::ClickButton(velkor.Control(IDC_BREATH)));
    EXPECT_EQ(velkor.ModeBytesWritten(nBefore), std::vector<std::uint8_t>{3});
    EXPECT_EQ(EcState::Load(velkor.Install().StatePath()).At(velkor.EcRamBase() + 0xF6), 3);
    EXPECT_GT(velkor.WaitForIcon(IDC_BREATH, velkor.SkinFile(L"03_Breath_1.ico")), 0.98);
    EXPECT_GT(velkor.WaitForIcon(IDC_ON, velkor.SkinFile(L"01_On_0.ico")), 0.98);
}

TEST(Storm, EveryPowerByteInRandomOrderShowsThePopupOnlyForChangesAmongOneTwoThree)
{
    const unsigned nRounds = Soak::Length(2, 20);
    std::mt19937 rng(Seed());
    VelkorSession velkor;
    ASSERT_TRUE(velkor.StartShown());
    HWND hMain = velkor.Main();
    const std::uint16_t wLevel = static_cast<std::uint16_t>(velkor.EcRamBase() + 0x30);

    std::vector<int> values(256);
    std::iota(values.begin(), values.end(), 0);
    int nLastShown = 0;
    unsigned nPopups = 0;
    for (unsigned nRound = 0; nRound < nRounds; ++nRound)
    {
        // The first round begins with no level and an invalid byte, each
        // between two readings of one level: neither may count as a change.
        std::vector<int> order = nRound == 0 ? std::vector<int>{2, 0, 2, 7, 2} : std::vector<int>{};
        std::shuffle(values.begin(), values.end(), rng);
        order.insert(order.end(), values.begin(), values.end());
        for (int nValue : order)
        {
            EcState::Poke(velkor.Install().StatePath(), wLevel, static_cast<std::uint8_t>(nValue));
            ASSERT_TRUE(NotifyWindows::Poll(velkor)) << "poll of " << nValue << " not answered";
            const bool bExpected = nValue >= 1 && nValue <= 3 && nValue != nLastShown;
            HWND hPopup = NotifyWindows::PowerPopup(velkor);
            const bool bShown = hPopup && IsWindowVisible(hPopup);
            ASSERT_EQ(bShown, bExpected) << "power byte " << nValue << " after level " << nLastShown;
            if (!bShown)
                continue;
            nLastShown = nValue;
            ++nPopups;
            ASSERT_TRUE(VelkorSession::Send(hMain, WM_TIMER, 2, 0));
            EXPECT_FALSE(IsWindowVisible(hPopup)) << "timer 2 did not hide the popup";
        }
    }
    EXPECT_GE(nPopups, nRounds * 2) << "too few level changes were seen";
}
