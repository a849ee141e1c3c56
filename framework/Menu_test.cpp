#include "framework/Menu.h"
#include <gtest/gtest.h>
#include <vector>
#include "framework/Afx.h"
#include "framework/Wnd.h"

namespace
{
// An owner-drawn menu class, as a control library would derive one.
class CDrawnMenu : public CMenu
{
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        m_measured.push_back(lpMeasureItemStruct->itemID);
        lpMeasureItemStruct->itemHeight = 21;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { m_drawn.push_back(lpDrawItemStruct->itemID); }

    std::vector<UINT> m_measured;
    std::vector<UINT> m_drawn;
};
} // namespace

TEST(Menu, HandleMapFindsTheAttachedObjectWithItsTypeAndOnlyAnOwnerDestroysTheMenu)
{
    CDrawnMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    HMENU hMenu = menu.GetSafeHmenu();
    EXPECT_NE(nullptr, dynamic_cast<CDrawnMenu*>(CMenu::FromHandle(hMenu)));
    CMenu other;
    EXPECT_FALSE(other.Attach(hMenu));   // another object cannot attach the same handle

    // Detached, the handle is no longer found and not destroyed, also not
    // with its temporary wrapper; an owner destroys what it holds.
    EXPECT_EQ(hMenu, menu.Detach());
    EXPECT_EQ(nullptr, dynamic_cast<CDrawnMenu*>(CMenu::FromHandle(hMenu)));
    AfxOnIdle();
    EXPECT_TRUE(::IsMenu(hMenu));
    {
        CMenu owner;
        ASSERT_TRUE(owner.Attach(hMenu));
    }
    EXPECT_FALSE(::IsMenu(hMenu));
}

TEST(Menu, OwnerDrawnItemsAreMeasuredAndDrawnByTheirMenuObject)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    CDrawnMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_OWNERDRAW, 501));
    CMenu plain;
    ASSERT_TRUE(plain.CreatePopupMenu());
    ASSERT_TRUE(plain.AppendMenu(MF_STRING, 502, "plain"));

    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 501, 0, 0, 0};
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(std::vector<UINT>{501}, menu.m_measured);
    EXPECT_EQ(21u, mis.itemHeight);

    // An item no attached menu draws itself is left to the system.
    mis.itemID = 502;
    mis.itemHeight = 0;
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(1u, menu.m_measured.size());

    DRAWITEMSTRUCT dis{ODT_MENU, 0, 501, 0, 0, reinterpret_cast<HWND>(menu.GetSafeHmenu()), nullptr, {}, 0};
    owner.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(std::vector<UINT>{501}, menu.m_drawn);
}
