#include "framework/DC.h"
#include <gtest/gtest.h>
#include "framework/Afx.h"
#include "framework/ClientDC.h"
#include "framework/MemDC.h"
#include "framework/OwnedHandle.h"
#include "framework/PaintDC.h"
#include "framework/ScopedSaveDC.h"
#include "framework/ScopedSelect.h"
#include "framework/WindowDC.h"
#include "framework/Wnd.h"
#include "tests/support/GdiCount.h"

namespace
{
unsigned GdiObjectsNow()
{
    const std::optional<unsigned> count = GdiCount::Of(::GetCurrentProcess());
    EXPECT_TRUE(count.has_value());
    return count.value_or(0);
}

// A memory DC with a 32 x 32 colour bitmap, for reading pixels back.
struct Canvas
{
    Canvas()
    {
        CClientDC screen(nullptr);
        EXPECT_TRUE(dc.Create(&screen, 32, 32));
        dc.FillSolidRect(0, 0, 32, 32, RGB(255, 255, 255));
    }

    CMemDC dc;
};

bool IconAlive(HICON hIcon)
{
    ICONINFO info{};
    if (!::GetIconInfo(hIcon, &info))
        return false;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return true;
}

class CPaintingWnd : public CWnd
{
public:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap map = MessageMap::Of<CPaintingWnd>(CWnd::GetThisMessageMap(), {
            OnWmPaint(&CPaintingWnd::OnPaint),
        });
        return &map;
    }
    int m_nPaints = 0;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CBrush brush(RGB(0, 0, 255));
        CRect rect;
        GetClientRect(&rect);
        dc.FillRect(&rect, &brush);
        m_nPaints++;
    }
};
} // namespace

TEST(GdiObjects, TenThousandCreateSelectDestroyRoundsLeaveNoHandleBehind)
{
    CClientDC screen(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    AfxOnIdle();
    const unsigned nBefore = GdiObjectsNow();
    ASSERT_GT(nBefore, 0u);

    for (int nRound = 0; nRound < 10000; ++nRound) {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
        CBrush solid(RGB(nRound & 0xFF, 0, 0));
        CBrush pattern;
        ASSERT_TRUE(pattern.CreatePatternBrush(&bitmap));
        CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));

        CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
        CPen* pOldPen = dc.SelectObject(&pen);
        CFont* pOldFont = dc.SelectObject(&font);
        {
            ScopedSelect selectBrush(dc, pattern);
            dc.Rectangle(0, 0, 8, 8);
            ScopedSelect selectSolid(dc, solid);
            dc.FillSolidRect(0, 0, 4, 4, RGB(1, 2, 3));
        }
        // Borrowed wrappers of the DC and of its objects.
        CDC* pBorrowed = CDC::FromHandle(dc.m_hDC);
        pBorrowed->SelectObject(pOldFont);
        dc.SelectObject(pOldPen);
        dc.SelectObject(pOldBitmap);
        // A second creation must neither replace nor leak.
        EXPECT_FALSE(pen.CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
        // A memory DC gives back its bitmap and itself, released early or not.
        CMemDC memDC;
        ASSERT_TRUE(memDC.Create(&screen, 8, 8));
        EXPECT_FALSE(memDC.Create(&screen, 8, 8));
        memDC.PatBlt(0, 0, 8, 8, BLACKNESS);
        if (nRound % 2 != 0)
            memDC.Release();
        if (nRound % 100 == 0)
            AfxOnIdle();
    }
    AfxOnIdle();
    EXPECT_EQ(nBefore, GdiObjectsNow());
}

TEST(GdiObjects, PaintClientAndWindowDCsAreGivenBack)
{
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "paint", WS_POPUP | WS_VISIBLE, CRect(0, 0, 40, 40), nullptr, 0));
    // The system caches window DCs: one round first, then count.
    const auto round = [&wnd] {
        wnd.Invalidate();
        wnd.UpdateWindow();
        CClientDC client(&wnd);
        CWindowDC window(&wnd);
        CDC* pDC = wnd.GetDC();
        EXPECT_EQ(RGB(0, 0, 255), pDC->GetPixel(5, 5));
        wnd.ReleaseDC(pDC);
    };
    round();
    AfxOnIdle();
    const unsigned nBefore = GdiObjectsNow();
    for (int nRound = 0; nRound < 200; ++nRound)
        round();
    AfxOnIdle();
    EXPECT_GE(wnd.m_nPaints, 201);
    EXPECT_EQ(nBefore, GdiObjectsNow());
}

TEST(GdiObjects, SelectionGivesBackThePreviousObjectAndScopedGuardsRestoreIt)
{
    Canvas canvas;
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ hInitialPen = ::GetCurrentObject(canvas.dc, OBJ_PEN);

    CPen* pOld = canvas.dc.SelectObject(&red);
    ASSERT_NE(nullptr, pOld);
    EXPECT_EQ(hInitialPen, pOld->m_hObject);
    {
        ScopedSelect guard(canvas.dc, blue);
        EXPECT_EQ(blue.m_hObject, ::GetCurrentObject(canvas.dc, OBJ_PEN));
    }
    EXPECT_EQ(red.m_hObject, ::GetCurrentObject(canvas.dc, OBJ_PEN));
    {
        ScopedSaveDC save(canvas.dc);
        ::SelectObject(canvas.dc, blue.m_hObject);
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.SetTextColor(RGB(1, 2, 3));
    }
    EXPECT_EQ(red.m_hObject, ::GetCurrentObject(canvas.dc, OBJ_PEN));
    EXPECT_EQ(OPAQUE, canvas.dc.GetBkMode());
    EXPECT_NE(RGB(1, 2, 3), canvas.dc.GetTextColor());

    EXPECT_EQ(red.m_hObject, canvas.dc.SelectObject(pOld)->m_hObject);
    EXPECT_EQ(hInitialPen, ::GetCurrentObject(canvas.dc, OBJ_PEN));
    // Typed lookups refuse the wrong kind.
    EXPECT_EQ(nullptr, CBrush::FromHandle(reinterpret_cast<HBRUSH>(red.m_hObject)));
    EXPECT_NE(nullptr, CPen::FromHandle(static_cast<HPEN>(red.m_hObject)));
}

TEST(GdiObjects, OwnedHandleDestroysWhatItHoldsOnceOnReplaceAndDestruction)
{
    const HICON hShared = ::LoadIcon(nullptr, IDI_APPLICATION);
    const HICON hFirst = ::CopyIcon(hShared);
    const HICON hSecond = ::CopyIcon(hShared);
    ASSERT_TRUE(IconAlive(hFirst) && IconAlive(hSecond));
    {
        OwnedIcon first(hFirst);
        first.Reset(hFirst);   // taking the same handle again keeps it
        EXPECT_TRUE(IconAlive(hFirst));
        OwnedIcon moved(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(hFirst, moved.Get());
        moved = OwnedIcon(hSecond);
        EXPECT_FALSE(IconAlive(hFirst));
        EXPECT_TRUE(IconAlive(hSecond));
        const HICON hReleased = moved.Release();
        EXPECT_EQ(hSecond, hReleased);
        moved.Reset(hReleased);
    }
    EXPECT_FALSE(IconAlive(hSecond));
}

TEST(DrawingCalls, SolidFillsAndThreeDFramesLandOnThePixels)
{
    Canvas canvas;
    CDC& dc = canvas.dc;
    const COLORREF crBack = dc.SetBkColor(RGB(9, 9, 9));
    dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(9, 9));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(10, 10));
    // Filling does not change the DC's background colour.
    EXPECT_EQ(RGB(9, 9, 9), dc.GetBkColor());
    dc.SetBkColor(crBack);

    // Top and left edges light, right and bottom dark, the inside untouched.
    dc.Draw3dRect(CRect(10, 10, 20, 20), RGB(0, 255, 0), RGB(0, 0, 255));
    const struct { int x, y; COLORREF cr; } pixels[] = {
        {10, 10, RGB(0, 255, 0)}, {18, 10, RGB(0, 255, 0)}, {10, 18, RGB(0, 255, 0)}, {19, 10, RGB(0, 0, 255)},
        {10, 19, RGB(0, 0, 255)}, {19, 19, RGB(0, 0, 255)}, {15, 15, RGB(255, 255, 255)}, {20, 20, RGB(255, 255, 255)},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(p.cr, dc.GetPixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST(Geometry, EdgesEmptinessAndSignedMouseCoordinates)
{
    const CRect rect(10, 20, 110, 70);
    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rect.PtInRect(CPoint(110, 20)));   // right and bottom edges are outside
    EXPECT_FALSE(rect.PtInRect(CPoint(10, 70)));
    EXPECT_TRUE(CRect(5, 5, 4, 9).IsRectEmpty());

    CRect swapped(10, 10, 0, 0);
    swapped.NormalizeRect();
    EXPECT_EQ(CRect(0, 0, 10, 10), swapped);
    CRect both;
    EXPECT_TRUE(both.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(CRect(5, 5, 10, 10), both);
    EXPECT_FALSE(both.IntersectRect(CRect(0, 0, 1, 1), CRect(5, 5, 6, 6)));
    EXPECT_TRUE(both.IsRectNull());

    EXPECT_EQ(CPoint(-5, 7), CPoint(static_cast<LPARAM>(MAKELONG(static_cast<WORD>(-5), 7))));
}
