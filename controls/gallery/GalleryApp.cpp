#include "controls/gallery/GalleryApp.h"

#include "controls/gallery/GalleryDlg.h"

#include <commctrl.h>

#include <cstring>

CGalleryApp theApp;

BOOL CGalleryApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    const BOOL bFlatMenus = std::strstr(::GetCommandLineA(), "--flat-menus") != nullptr;
    CGalleryDlg dlg(bFlatMenus);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
