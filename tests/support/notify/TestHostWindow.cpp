#include "tests/support/notify/TestHostWindow.h"

TestHostWindow::TestHostWindow()
{
    CreateEx(0, nullptr, "notify test host", WS_POPUP, CRect(100, 100, 400, 300), nullptr, 0);
}
