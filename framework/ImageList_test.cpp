#include "framework/ImageList.h"
#include <gtest/gtest.h>
#include "framework/ClientDC.h"
#include "framework/ScopedSelect.h"

TEST(ImageList, AddsCountsDrawsAndOwnsItsList)
{
    CClientDC screen(nullptr);
    CBitmap image;
    ASSERT_TRUE(image.CreateCompatibleBitmap(&screen, 32, 16));   // two 16 x 16 pictures
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
        ScopedSelect select(dc, image);
        dc.FillSolidRect(0, 0, 16, 16, RGB(200, 0, 0));
        dc.FillSolidRect(16, 0, 16, 16, RGB(0, 0, 200));
        dc.FillSolidRect(16, 0, 4, 4, RGB(255, 0, 255));   // transparent corner of the second
    }

    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
    EXPECT_FALSE(list.Create(16, 16, ILC_COLOR24, 0, 4));   // holds one already
    EXPECT_EQ(0, list.Add(&image, RGB(255, 0, 255)));
    EXPECT_EQ(2, list.GetImageCount());

    CDC target;
    ASSERT_TRUE(target.CreateCompatibleDC(&screen));
    CBitmap targetBitmap;
    ASSERT_TRUE(targetBitmap.CreateCompatibleBitmap(&screen, 16, 16));
    ScopedSelect select(target, targetBitmap);
    target.FillSolidRect(0, 0, 16, 16, RGB(0, 255, 0));
    ASSERT_TRUE(list.Draw(&target, 1, CPoint(0, 0), ILD_TRANSPARENT));
    EXPECT_EQ(RGB(0, 0, 200), target.GetPixel(8, 8));
    EXPECT_EQ(RGB(0, 255, 0), target.GetPixel(1, 1));   // masked out

    HIMAGELIST hList = list.Detach();
    EXPECT_EQ(0, list.GetImageCount());
    {
        CImageList owner;
        ASSERT_TRUE(owner.Attach(hList));
        EXPECT_EQ(2, owner.GetImageCount());
    }
    EXPECT_FALSE(list.DeleteImageList());
}
