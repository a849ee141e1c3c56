#include "framework/DC.h"
#include <gtest/gtest.h>
#include "framework/Afx.h"
#include "framework/ClientDC.h"
#include "framework/MemDC.h"
#include "framework/OwnedHandle.h"
#include "framework/ScopedSaveDC.h"
#include "tests/support/GdiCount.h"
#include "tests/support/framework/Canvas.h"

namespace
{
// Live GDI objects once the borrowed wrappers are gone.
unsigned GdiObjectsNow()
{
    AfxOnIdle();
    const std::optional<unsigned> count = GdiCount::Of(::GetCurrentProcess());
    EXPECT_TRUE(count.has_value());
    return count.value_or(0);
}
} // namespace

TEST(GdiObjects, CreateSelectAndDestroyRoundsLeaveNoHandleBehind)
{
    CClientDC screen(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -12;
    const unsigned nBefore = GdiObjectsNow();
    ASSERT_GT(nBefore, 0u);
    for (int nRound = 0; nRound < 1000; ++nRound) {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
        CBrush pattern;
        ASSERT_TRUE(pattern.CreatePatternBrush(&bitmap));
        CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
        EXPECT_FALSE(pen.CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));   // a second creation neither replaces nor leaks
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
        CFont* pOldFont = dc.SelectObject(&font);
        {
            ScopedSelect selectBrush(dc, pattern);
            ScopedSelect selectPen(dc, pen);
            dc.Rectangle(0, 0, 8, 8);
        }
        CDC::FromHandle(dc.m_hDC)->SelectObject(pOldFont);   // through a borrowed wrapper
        dc.SelectObject(pOldBitmap);
        // A memory DC gives back its bitmap and itself, released early or not.
        CMemDC memDC;
        ASSERT_TRUE(memDC.Create(&screen, 8, 8));
        EXPECT_FALSE(memDC.Create(&screen, 8, 8));
        if (nRound % 2 != 0)
            memDC.Release();
        if (nRound % 100 == 0)
            AfxOnIdle();
    }
    EXPECT_EQ(nBefore, GdiObjectsNow());
}

TEST(GdiObjects, SelectionAndScopedGuardsGiveThePreviousStateBack)
{
    Canvas canvas(8, 8);
    CDC& dc = canvas.DC();
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    const HGDIOBJ hInitialPen = ::GetCurrentObject(dc, OBJ_PEN);
    CPen* pOld = dc.SelectObject(&red);
    ASSERT_NE(nullptr, pOld);
    EXPECT_EQ(hInitialPen, pOld->m_hObject);
    const auto state = canvas.State();
    {
        ScopedSelect guard(dc, blue);
        ScopedSaveDC save(dc);
        ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(1, 2, 3));
    }
    EXPECT_EQ(state, canvas.State());
    EXPECT_EQ(red.m_hObject, dc.SelectObject(pOld)->m_hObject);
    // Typed lookups refuse the wrong kind.
    EXPECT_EQ(nullptr, CBrush::FromHandle(reinterpret_cast<HBRUSH>(red.m_hObject)));
}

TEST(GdiObjects, OwnedHandleDestroysWhatItHoldsOnceOnReplaceAndDestruction)
{
    const HICON hShared = ::LoadIcon(nullptr, IDI_APPLICATION);
    const HICON hFirst = ::CopyIcon(hShared);
    const HICON hSecond = ::CopyIcon(hShared);
    {
        OwnedIcon first(hFirst);
        first.Reset(hFirst);   // taking the same handle again keeps it
        EXPECT_TRUE(IconAlive(hFirst));
        OwnedIcon moved(std::move(first));
        moved = OwnedIcon(hSecond);
        EXPECT_FALSE(IconAlive(hFirst));
        moved.Reset(moved.Release());
        EXPECT_TRUE(IconAlive(hSecond));
    }
    EXPECT_FALSE(IconAlive(hSecond));
}
