#include "Backlight.h"
#include "PreviewWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
// Renders one frame into a memory bitmap, as WM_PAINT would into its back buffer.
class Frame
{
public:
    Frame(const PreviewWindow& wnd, bool bOpen, BYTE byMode, BYTE byPower, DWORD tMs)
    {
        HDC hdcScreen = GetDC(nullptr);
        m_hdc = CreateCompatibleDC(hdcScreen);
        m_hbm = CreateCompatibleBitmap(hdcScreen, WIDTH, HEIGHT);
        ReleaseDC(nullptr, hdcScreen);
        m_hbmOld = SelectObject(m_hdc, m_hbm);
        wnd.Render(m_hdc, Client(), bOpen, byMode, byPower, tMs);
    }
    ~Frame()
    {
        SelectObject(m_hdc, m_hbmOld);
        DeleteDC(m_hdc);
        DeleteObject(m_hbm);
    }
    static RECT Client() { return {0, 0, WIDTH, HEIGHT}; }
    COLORREF Pixel(int x, int y) const { return GetPixel(m_hdc, x, y); }
    HDC Dc() const { return m_hdc; }

    static const int WIDTH = 948, HEIGHT = 456;

private:
    HDC m_hdc;
    HBITMAP m_hbm;
    HGDIOBJ m_hbmOld;
};

// Top edge of the first key of the given row, half way along: the lit rim.
POINT RimOf(const KeyboardLayout::Key& key)
{
    const RECT rc = PreviewWindow::KeyRect(key, PreviewWindow::KeyboardArea(Frame::Client()));
    return {(rc.left + rc.right) / 2, rc.top};
}
} // namespace

TEST(PreviewWindow, KeysTileTheKeyboardWithoutOverlap)
{
    const KeyboardLayout layout;
    const RECT rcKeyboard = PreviewWindow::KeyboardArea(Frame::Client());
    ASSERT_GT(layout.Keys().size(), 70u);
    for (size_t i = 0; i < layout.Keys().size(); ++i)
    {
        const RECT a = PreviewWindow::KeyRect(layout.Keys()[i], rcKeyboard);
        EXPECT_GE(a.left, rcKeyboard.left);
        EXPECT_LE(a.right, rcKeyboard.right);
        EXPECT_GE(a.top, rcKeyboard.top);
        EXPECT_LE(a.bottom, rcKeyboard.bottom);
        for (size_t j = i + 1; j < layout.Keys().size(); ++j)
        {
            RECT b = PreviewWindow::KeyRect(layout.Keys()[j], rcKeyboard), both;
            EXPECT_FALSE(IntersectRect(&both, &a, &b)) << layout.Keys()[i].pszLabel << " / " << layout.Keys()[j].pszLabel;
        }
    }
}

TEST(PreviewWindow, RimOfEveryKeyFollowsTheModeByte)
{
    const PreviewWindow wnd("unused");
    const KeyboardLayout layout;
    const Frame steady(wnd, true, Backlight::MODE_ON, 2, 0);
    const Frame unknown(wnd, true, 0x42, 2, 0);
    const Frame closed(wnd, false, Backlight::MODE_ON, 2, 0);
    const COLORREF crOnRim = steady.Pixel(RimOf(layout.Keys()[0]).x, RimOf(layout.Keys()[0]).y);
    for (const KeyboardLayout::Key& key : layout.Keys())
    {
        const POINT pt = RimOf(key);
        EXPECT_EQ(steady.Pixel(pt.x, pt.y), crOnRim) << key.pszLabel;
        EXPECT_NE(unknown.Pixel(pt.x, pt.y), crOnRim) << key.pszLabel;
        EXPECT_EQ(unknown.Pixel(pt.x, pt.y), closed.Pixel(pt.x, pt.y)) << key.pszLabel; // both unlit
    }
    // The lit rim leans to the steady colour's blue.
    EXPECT_GT(GetBValue(crOnRim), GetRValue(crOnRim) + 60);
}

TEST(PreviewWindow, RainbowFrameShowsDifferentColoursLeftAndRight)
{
    const PreviewWindow wnd("unused");
    const KeyboardLayout layout;
    const Frame rainbow(wnd, true, Backlight::MODE_RAINBOW, 1, 0);
    const POINT left = RimOf(layout.Keys().front()), right = RimOf(layout.Keys()[14]);
    EXPECT_NE(rainbow.Pixel(left.x, left.y), rainbow.Pixel(right.x, right.y));
}

TEST(PreviewWindow, PowerBadgeTakesThePopupsColours)
{
    const PreviewWindow wnd("unused");
    // The badge is the only strongly coloured thing in the status strip.
    auto badgeColour = [&](BYTE byPower) -> COLORREF {
        const Frame frame(wnd, true, 0x42, byPower, 0);
        for (int y = Frame::HEIGHT - 60; y < Frame::HEIGHT; ++y)
            for (int x = 0; x < Frame::WIDTH; ++x)
            {
                const COLORREF cr = frame.Pixel(x, y);
                const int lo = std::min({GetRValue(cr), GetGValue(cr), GetBValue(cr)});
                const int hi = std::max({GetRValue(cr), GetGValue(cr), GetBValue(cr)});
                if (hi - lo > 120)
                    return cr;
            }
        return CLR_INVALID;
    };
    const COLORREF blue = badgeColour(1), green = badgeColour(2), red = badgeColour(3);
    EXPECT_GT(GetBValue(blue), GetRValue(blue));
    EXPECT_GT(GetGValue(green), GetRValue(green));
    EXPECT_GT(GetRValue(red), GetGValue(red));
    EXPECT_EQ(badgeColour(0), CLR_INVALID); // no level: a grey badge
}
