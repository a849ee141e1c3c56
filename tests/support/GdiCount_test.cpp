#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <vector>

TEST(GdiCount, SeesObjectsComeAndGoButNotStockObjects)
{
    const auto before = GdiCount::Of(GetCurrentProcess());
    ASSERT_TRUE(before.has_value());
    std::vector<HGDIOBJ> objects;
    for (int i = 0; i < 7; ++i)
        objects.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    objects.push_back(CreatePen(PS_SOLID, 1, 0));
    GetStockObject(BLACK_BRUSH);
    EXPECT_EQ(GdiCount::Of(GetCurrentProcess()), *before + 8);
    for (HGDIOBJ h : objects)
        DeleteObject(h);
    EXPECT_EQ(GdiCount::Of(GetCurrentProcess()), *before);
}

TEST(GdiCount, CountsTypedEntriesThatAreNotStock)
{
    std::vector<unsigned char> table(24 * 4, 0);
    table[24 * 1 + 14] = 0x10;                         // a live brush
    table[24 * 2 + 14] = 0x10;
    table[24 * 2 + 12] = 0x80;                         // a stock brush
    table[24 * 3 + 14] = 0x05;                         // a live bitmap
    EXPECT_EQ(GdiCount::CountLiveEntries(table.data(), table.size()), 2u);
}
