#include "Backlight.h"

#include <gtest/gtest.h>

namespace
{
int Brightness(COLORREF cr)
{
    return GetRValue(cr) + GetGValue(cr) + GetBValue(cr);
}
} // namespace

TEST(Backlight, HsvGivesThePrimaries)
{
    EXPECT_EQ(Backlight::HsvToRgb(0, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(Backlight::HsvToRgb(120, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(Backlight::HsvToRgb(240, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(Backlight::HsvToRgb(-120, 1, 1), RGB(0, 0, 255)); // wraps round
    EXPECT_EQ(Backlight::HsvToRgb(360, 1, 1), RGB(255, 0, 0));
}

TEST(Backlight, SteadyLightIsTheSameEverywhereAndAlways)
{
    const COLORREF cr = Backlight::KeyColor(Backlight::MODE_ON, 0.1, 0.2, 0);
    EXPECT_NE(cr, RGB(0, 0, 0));
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_ON, 0.9, 0.8, 12345), cr);
    EXPECT_FALSE(Backlight::IsAnimated(Backlight::MODE_ON));
}

TEST(Backlight, RainbowSpreadsHuesAcrossTheKeysAndMoves)
{
    const COLORREF left = Backlight::KeyColor(Backlight::MODE_RAINBOW, 0.0, 0.5, 0);
    const COLORREF third = Backlight::KeyColor(Backlight::MODE_RAINBOW, 1.0 / 3, 0.5, 0);
    EXPECT_EQ(left, RGB(255, 0, 0));
    EXPECT_EQ(third, RGB(0, 255, 0));
    EXPECT_NE(Backlight::KeyColor(Backlight::MODE_RAINBOW, 0.0, 0.5, Backlight::RAINBOW_PERIOD_MS / 4), left);
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_RAINBOW, 0.0, 0.5, Backlight::RAINBOW_PERIOD_MS), left);
    EXPECT_TRUE(Backlight::IsAnimated(Backlight::MODE_RAINBOW));
}

TEST(Backlight, BreathRisesAndFallsButNeverGoesDark)
{
    const DWORD period = Backlight::BREATH_PERIOD_MS;
    const int low = Brightness(Backlight::KeyColor(Backlight::MODE_BREATH, 0.5, 0.5, 0));
    const int high = Brightness(Backlight::KeyColor(Backlight::MODE_BREATH, 0.5, 0.5, period / 2));
    const int rising = Brightness(Backlight::KeyColor(Backlight::MODE_BREATH, 0.5, 0.5, period / 4));
    EXPECT_GT(low, 0);
    EXPECT_LT(low, rising);
    EXPECT_LT(rising, high);
    // All keys breathe together.
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_BREATH, 0.0, 0.0, 777),
              Backlight::KeyColor(Backlight::MODE_BREATH, 1.0, 1.0, 777));
}

TEST(Backlight, ColorLoopColoursTheWholeKeyboardAlike)
{
    const DWORD t = Backlight::COLORLOOP_PERIOD_MS / 3;
    EXPECT_EQ(Backlight::KeyColor(Backlight::MODE_COLORLOOP, 0.0, 0.0, t),
              Backlight::KeyColor(Backlight::MODE_COLORLOOP, 1.0, 1.0, t));
    EXPECT_NE(Backlight::KeyColor(Backlight::MODE_COLORLOOP, 0.0, 0.0, 0),
              Backlight::KeyColor(Backlight::MODE_COLORLOOP, 0.0, 0.0, t));
}

TEST(Backlight, UnknownModesLeaveTheLightOffAndStill)
{
    for (int mode : {5, 7, 0x80, 0xFF})
    {
        EXPECT_EQ(Backlight::KeyColor(static_cast<BYTE>(mode), 0.5, 0.5, 1000), RGB(0, 0, 0)) << mode;
        EXPECT_FALSE(Backlight::IsAnimated(static_cast<BYTE>(mode))) << mode;
    }
    char szName[64];
    Backlight::ModeName(7, szName, sizeof szName);
    EXPECT_STREQ(szName, "unknown (0x07): light off");
    Backlight::ModeName(Backlight::MODE_COLORLOOP, szName, sizeof szName);
    EXPECT_STREQ(szName, "ColorLoop");
}
