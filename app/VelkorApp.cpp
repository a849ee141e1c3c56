#include "app/VelkorApp.h"

#include "app/SingleInstance.h"
#include "app/VelkorDlg.h"
#include "framework/Afx.h"

#include <commctrl.h>

CVelkorApp theApp;

// No name: the framework takes the executable's name, which also captions
// message boxes given no caption of their own.
CVelkorApp::CVelkorApp() {}

BOOL CVelkorApp::InitInstance()
{
    // A second start hands over to the running one before anything else.
    SingleInstance instance;
    if (!instance.IsFirst())
    {
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
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // FALSE: end the application rather than run a message loop of our own.
    return FALSE;
}
