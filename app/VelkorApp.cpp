#include "app/VelkorApp.h"

#include "app/SingleInstance.h"
#include "app/VelkorDlg.h"
#include "framework/Afx.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

CVelkorApp theApp;

namespace
{
    // The sign-in start: "/tray", "-tray" or "--tray" in any case, anywhere on
    // the command line (as the run-time splits it). Other arguments are ignored.
    bool IsTrayStart()
    {
        for (int i = 1; i < __argc; ++i)
            for (const char* pszForm : {"/tray", "-tray", "--tray"})
                if (_stricmp(__argv[i], pszForm) == 0)
                    return true;
        return false;
    }
}

// No name: the framework takes the executable's name, which also captions
// message boxes given no caption of their own.
CVelkorApp::CVelkorApp() {}

BOOL CVelkorApp::InitInstance()
{
    // A second start hands over to the running one before anything else; a
    // sign-in start leaves the running one as it is.
    const bool bTrayStart = IsTrayStart();
    SingleInstance instance;
    if (!instance.IsFirst())
    {
        if (!bTrayStart)
            SingleInstance::ActivateRunning(CVelkorDlg::WINDOW_TEXT);
        return FALSE;
    }

    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey("Local AppWizard-Generated Applications");   // nothing is stored there

    // Binds and probes the EC before any window exists; ends the process when
    // io.dll or its driver is missing.
    CVelkorDlg dlg;
    if (bTrayStart)
        dlg.StartInTray();
    // Closed by an installer's restart manager to replace its files, Velkor
    // comes back afterwards, in the tray; not after a crash or a hang.
    ::RegisterApplicationRestart(L"/tray", RESTART_NO_CRASH | RESTART_NO_HANG);
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // FALSE: end the application rather than run a message loop of our own.
    return FALSE;
}
