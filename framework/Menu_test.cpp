#include "framework/Menu.h"
#include <gtest/gtest.h>
#include "framework/Afx.h"

namespace
{
    // A menu class of its own, as a control library would derive one.
    class CDerivedMenu : public CMenu
    {};
}   // namespace

TEST(Menu, HandleMapFindsTheAttachedObjectWithItsTypeAndOnlyAnOwnerDestroysTheMenu)
{
    CDerivedMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    HMENU hMenu = menu.GetSafeHmenu();
    EXPECT_NE(nullptr, dynamic_cast<CDerivedMenu*>(CMenu::FromHandle(hMenu)));
    CMenu other;
    EXPECT_FALSE(other.Attach(hMenu));   // another object cannot attach the same handle

    // Detached, the handle is no longer found and not destroyed, also not
    // with its temporary wrapper; an owner destroys what it holds.
    EXPECT_EQ(hMenu, menu.Detach());
    EXPECT_EQ(nullptr, dynamic_cast<CDerivedMenu*>(CMenu::FromHandle(hMenu)));
    AfxOnIdle();
    EXPECT_TRUE(::IsMenu(hMenu));
    {
        CMenu owner;
        ASSERT_TRUE(owner.Attach(hMenu));
    }
    EXPECT_FALSE(::IsMenu(hMenu));
}
