#include "framework/ToolTipCtrl.h"
#include <gtest/gtest.h>
#include "framework/Button.h"

TEST(ToolTipCtrl, OwnedByTheTopLevelWindowWithTextsPerTool)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &parent, 7));

    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&button));
    // A popup cannot be owned by a child: the button's top-level window owns it.
    EXPECT_EQ(parent.m_hWnd, ::GetWindow(tip.m_hWnd, GW_OWNER));
    ASSERT_TRUE(tip.AddTool(&button, "first"));
    ASSERT_TRUE(tip.AddTool(&button, "by id", nullptr, 3));
    EXPECT_EQ(2, tip.GetToolCount());
    EXPECT_EQ("first", tip.GetText(&button));
    tip.UpdateTipText("second", &button);
    EXPECT_EQ("second", tip.GetText(&button));
    EXPECT_EQ("by id", tip.GetText(&button, 3));
    tip.DelTool(&button, 3);
    EXPECT_EQ(1, tip.GetToolCount());

    tip.Activate(FALSE);
    MSG msg{button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {}};
    tip.RelayEvent(&msg);   // must be harmless on an inactive tip
    EXPECT_FALSE(tip.IsWindowVisible());
}
