#include "framework/DC.h"
#include <gtest/gtest.h>
#include "framework/ScopedSaveDC.h"
#include "tests/support/framework/Canvas.h"

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
