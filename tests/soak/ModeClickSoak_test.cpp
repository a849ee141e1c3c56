// Long use: thousands of mode clicks and tray round trips leave the program
// holding exactly what it held before, and every click reaches the EC whole.
#include "tests/e2e/VelkorSession.h"
#include "tests/soak/Soak.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

namespace
{
    const int MODE_IDS[] = {ID_AUTO, ID_ON, ID_RAINBOW, ID_BREATH, ID_COLORLOOP};
    const std::uint8_t MODE_VALUES[] = {0, 1, 2, 3, 4};
    const UINT WM_TRAYNOTIFY = WM_USER + 1;
    const WPARAM TRAY_ICON_ID = 128;
    // Heap growth that is not a leak (allocator caches, fragmentation): about
    // 1.5 MiB in a 64-bit build whether it makes 50 round trips or 500 clicks.
    const size_t PRIVATE_SLACK = (sizeof(void*) == 8 ? 2 : 1) * 1024 * 1024;

    // Clicks each mode button once, so that everything made on first use exists.
    void WarmUp(VelkorSession& velkor)
    {
        for (int nId : MODE_IDS)
            ASSERT_TRUE(RunningProgram::ClickButton(velkor.Control(nId)));
        Pause(300);
    }
}

TEST(Soak, ThousandsOfModeClicksHoldNothingMoreAndEveryClickWritesItsTwoBytes)
{
    const unsigned nClicks = Soak::Length(500, 10000);
    VelkorSession velkor;
    ASSERT_NO_FATAL_FAILURE(Soak::StartShown(velkor));
    ASSERT_NO_FATAL_FAILURE(WarmUp(velkor));
    const size_t nWritesBefore = velkor.EcWrites().size();
    const Soak::Footprint before = Soak::Measure(velkor.Process());

    std::vector<std::uint8_t> modes;
    for (unsigned i = 0; i < nClicks; ++i)
    {
        ASSERT_TRUE(RunningProgram::ClickButton(velkor.Control(MODE_IDS[i % 5]))) << "click " << i << " not answered";
        modes.push_back(MODE_VALUES[i % 5]);
    }
    Pause(300);
    const Soak::Footprint after = Soak::Measure(velkor.Process());

    EXPECT_EQ(Soak::CheckModeWrites(velkor.EcWrites(), nWritesBefore, velkor.EcRamBase(), modes), "");
    EXPECT_EQ(after.nGdiObjects, before.nGdiObjects) << Soak::Describe(before) << " -> " << Soak::Describe(after);
    EXPECT_GT(before.nGdiObjects, 0u) << "GDI objects could not be counted";
    EXPECT_EQ(after.nWindows, before.nWindows);
    EXPECT_LT(after.cbPrivate, before.cbPrivate + PRIVATE_SLACK)
        << Soak::Describe(before) << " -> " << Soak::Describe(after);
}

TEST(Soak, TrayRoundTripsHoldNothingMore)
{
    const unsigned nTrips = Soak::Length(50, 1000);
    VelkorSession velkor;
    ASSERT_NO_FATAL_FAILURE(Soak::StartShown(velkor));
    HWND hMain = velkor.Main();
    auto roundTrip = [&](unsigned i) {
        ASSERT_TRUE(RunningProgram::ClickButton(velkor.Control(ID_MIN))) << "trip " << i;
        ASSERT_FALSE(IsWindowVisible(hMain)) << "trip " << i << ": MIN left the window shown";
        DWORD_PTR dwResult = 0;
        ASSERT_TRUE(SendMessageTimeoutW(hMain, WM_TRAYNOTIFY, TRAY_ICON_ID, WM_LBUTTONUP, SMTO_NORMAL, 10000,
                                        &dwResult))
            << "trip " << i;
        ASSERT_TRUE(IsWindowVisible(hMain)) << "trip " << i << ": the tray click left the window hidden";
    };
    for (unsigned i = 0; i < 2; ++i)
        ASSERT_NO_FATAL_FAILURE(roundTrip(i));
    Pause(300);
    const Soak::Footprint before = Soak::Measure(velkor.Process());
    for (unsigned i = 0; i < nTrips; ++i)
        ASSERT_NO_FATAL_FAILURE(roundTrip(i));
    Pause(300);
    const Soak::Footprint after = Soak::Measure(velkor.Process());
    EXPECT_EQ(after.nGdiObjects, before.nGdiObjects) << Soak::Describe(before) << " -> " << Soak::Describe(after);
    EXPECT_EQ(after.nWindows, before.nWindows);
    EXPECT_LT(after.cbPrivate, before.cbPrivate + PRIVATE_SLACK)
        << Soak::Describe(before) << " -> " << Soak::Describe(after);
}
