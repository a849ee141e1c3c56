#include "Backlight.h"

#include <gtest/gtest.h>

namespace
{
    int Brightness(COLORREF cr)
    {
        return GetRValue(cr) + GetGValue(cr) + GetBValue(cr);
    }
}   // namespace

TEST(Backlight, EachModeLightsTheKeysItsOwnWay)
{
    // On: one colour everywhere, always.
    const COLORREF crOn = Backlight::KeyColor(Backlight::MODE_ON, 0.1, 0.2, 0);
    EXPECT_NE(crOn, RGB(0, 0, 0));
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_ON, 0.9, 0.8, 12345), crOn);

    // RainBow: hues across the keys, moving with time, back after one period.
    const COLORREF crLeft = Backlight::KeyColor(Backlight::MODE_RAINBOW, 0.0, 0.5, 0);
    EXPECT_EQ(crLeft, RGB(255, 0, 0));
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_RAINBOW, 1.0 / 3, 0.5, 0), RGB(0, 255, 0));
    EXPECT_NE(Backlight::KeyColor(Backlight::MODE_RAINBOW, 0.0, 0.5, Backlight::RAINBOW_PERIOD_MS / 4), crLeft);
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_RAINBOW, 0.0, 0.5, Backlight::RAINBOW_PERIOD_MS), crLeft);

    // Breath: all keys together, rising and falling, never dark.
    const DWORD period = Backlight::BREATH_PERIOD_MS;
    const int nLow = Brightness(Backlight::KeyColor(Backlight::MODE_BREATH, 0.5, 0.5, 0));
    const int nRising = Brightness(Backlight::KeyColor(Backlight::MODE_BREATH, 0.5, 0.5, period / 4));
    EXPECT_GT(nLow, 0);
    EXPECT_LT(nLow, nRising);
    EXPECT_LT(nRising, Brightness(Backlight::KeyColor(Backlight::MODE_BREATH, 0.5, 0.5, period / 2)));
    EXPECT_EQ(
        Backlight::KeyColor(Backlight::MODE_BREATH, 0.0, 0.0, 777),
        Backlight::KeyColor(Backlight::MODE_BREATH, 1.0, 1.0, 777)
    );

    // Unknown values: dark and still.
    for (int mode : {5, 7, 0x80, 0xFF})
    {
        EXPECT_EQ(Backlight::KeyColor(static_cast<BYTE>(mode), 0.5, 0.5, 1000), RGB(0, 0, 0)) << mode;
        EXPECT_FALSE(Backlight::IsAnimated(static_cast<BYTE>(mode))) << mode;
    }
    char szName[64];
    Backlight::ModeName(7, szName, sizeof szName);
    EXPECT_STREQ(szName, "unknown (0x07): light off");
}
