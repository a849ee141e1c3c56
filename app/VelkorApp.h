#pragma once
#include "framework/WinApp.h"

// The application: starts the common controls, runs the main dialog modally.
// The process ends from inside that dialog (Exit, the OK command, the tray
// menu or the end of the session), never by the dialog's modal loop returning.
//
// One argument counts: /tray (also -tray, --tray, in any case), the sign-in
// start, runs the program in the notification area with its window hidden,
// and ends a second start at once, leaving the running one as it is.
class CVelkorApp : public CWinApp
{
public:
    CVelkorApp();

    // ---- Overrideables
    BOOL InitInstance() override;
};

extern CVelkorApp theApp;
