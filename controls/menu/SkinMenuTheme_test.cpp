#include "controls/menu/SkinMenuTheme.h"

#include <gtest/gtest.h>

TEST(SkinMenuTheme, LightenColorMovesEachChannelTowardsWhite)
{
    const COLORREF crFace = RGB(212, 208, 200);
    EXPECT_EQ(RGB(222, 219, 213), CSkinMenuTheme::LightenColor(0.25, crFace));
    EXPECT_EQ(RGB(255, 255, 255), CSkinMenuTheme::LightenColor(1.0, crFace));
    EXPECT_EQ(crFace, CSkinMenuTheme::LightenColor(1.5, crFace));
    // 0.6 x 255 is 152.99999999999999 exactly but 153.0 in double: each step
    // rounds to double before truncating, on every compiler.
    EXPECT_EQ(RGB(153, 155, 157), CSkinMenuTheme::LightenColor(0.6, RGB(0, 5, 10)));
}
