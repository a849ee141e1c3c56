#include "notify/TrayIcon.h"

#include <gtest/gtest.h>

#include "tests/support/notify/NotifyTestSupport.h"
#include "tests/support/notify/TestHostWindow.h"

// The menu, its languages and the exit paths are driven against the real
// program in tests/e2e/Tray_test.cpp; only the destructor's share is left here.
TEST(TrayIcon, DestroyedTrayIconTakesItsIconAlong)
{
    TestHostWindow host;
    {
        CTrayIcon tray(host);
        tray.AddTrayIcon();
        ASSERT_TRUE(TrayIconExists(host, TRAY_ICON_ID));
    }
    EXPECT_FALSE(TrayIconExists(host, TRAY_ICON_ID));
}
