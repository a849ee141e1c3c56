#pragma once
#include <windows.h>

#include "framework/Wnd.h"

// A hidden top-level window standing in for the main dialog in the notify
// tests: it owns the popup and the tray icon under test.
class TestHostWindow : public CWnd
{
public:
    TestHostWindow();
};
