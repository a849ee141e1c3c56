#include "notify/TrayIcon.h"

#include <gtest/gtest.h>

#include "tests/support/WindowQuery.h"
#include "tests/support/notify/TestHostWindow.h"

// The menu, its languages and the exit paths are driven against the real
// program in tests/e2e/Tray_test.cpp; only the destructor's share is left here.
TEST(TrayIcon, DestroyedTrayIconTakesItsIconAlong)
{
    TestHostWindow host;
    {
        CTrayIcon tray(host);
        tray.AddTrayIcon();
        ASSERT_TRUE(WindowQuery::TrayIconExists(host, TRAY_ICON_ID));
    }
    EXPECT_FALSE(WindowQuery::TrayIconExists(host, TRAY_ICON_ID));
}
