#pragma once
#include "framework/WinApp.h"

// The gallery program: shows its one window modally and ends with it.
// "--flat-menus" on the command line starts it with the flat menu style.
class CGalleryApp : public CWinApp
{
public:
    // ---- Overrideables
    BOOL InitInstance() override;
};
