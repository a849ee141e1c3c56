#pragma once
#include "framework/WinApp.h"

// The application: starts the common controls, runs the main dialog modally.
// The process ends from inside that dialog (Exit, the OK command or the tray
// menu), never by the dialog's modal loop returning.
class CVelkorApp : public CWinApp
{
public:
    CVelkorApp();

    // ---- Overrideables
    BOOL InitInstance() override;
};

extern CVelkorApp theApp;
