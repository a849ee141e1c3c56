#include "notify/DlgPwrNotify.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/support/notify/NotifyTestSupport.h"
#include "tests/support/notify/TestHostWindow.h"
#include "tests/support/notify/TestSkinFolder.h"

// Placing, pictures, texts and the timing are driven against the real program
// in tests/e2e/PowerPopup_test.cpp; a picture wider than any test screen is left here.
TEST(DlgPwrNotify, PictureWiderThanTheScreenReachesPastTheLeftEdge)
{
    TestHostWindow host;
    CRect rcDesktop;
    ::GetWindowRect(::GetDesktopWindow(), &rcDesktop);
    // 81 pixels wider than the screen: x = -81 / 2, truncated toward zero.
    TestSkinFolder skin({rcDesktop.Width() + 81, 100});
    // Made as its owner makes it: modeless, then level and place flag, then shown without activation.
    CDlgPwrNotify popup(skin.Path());
    ASSERT_TRUE(popup.Create(IDD_PWR_NOTIFY, &host));
    popup.m_nLevel = 3;
    popup.m_bLowered = true;
    popup.ShowWindow(SW_SHOWNOACTIVATE);

    CRect rcPopup;
    ASSERT_TRUE(PumpUntil([&] {
        popup.GetWindowRect(&rcPopup);
        return rcPopup.Size() == CSize(rcDesktop.Width() + 81, 100);
    }));
    EXPECT_EQ(CPoint(-40, (rcDesktop.Height() - 100) / 2 + 50), rcPopup.TopLeft());
}
