#include "framework/Afx.h"
#include "framework/DC.h"
#include "framework/FilePath.h"
#include "framework/Menu.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

CWinApp* g_pApp = nullptr;
extern thread_local int g_nWndProcDepth;

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinApp* AfxGetThread()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

std::string AfxGetModuleBaseName()
{
    return NarrowAnsi(FilePath::BaseNameOf(FilePath::ExecutablePath()).c_str());
}

const char* AfxGetAppName()
{
    if (g_pApp != nullptr)
        return g_pApp->m_pszAppName;
    static const std::string strModuleName = AfxGetModuleBaseName();
    return strModuleName.c_str();
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResourceA(hResource, lpszName, lpszType) != nullptr)
        return hResource;
    return ::GetModuleHandleW(nullptr);
}

void AfxEnableControlContainer() {}

int AfxMessageBox(const char* lpszText, UINT nType)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    return ::MessageBoxA(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBoxW(const wchar_t* lpszText, UINT nType)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    const std::wstring strCaption = WidenAnsi(AfxGetAppName());
    return ::MessageBoxW(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, lpszText, strCaption.c_str(), nType);
}

void AfxDispatchMessage(MSG* pMsg)
{
    if (CWnd::WalkPreTranslateTree(nullptr, pMsg))
        return;
    ::TranslateMessage(pMsg);
    ::DispatchMessageW(pMsg);
}

void AfxOnIdle()
{
    if (g_nWndProcDepth != 0)
        return;
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
}

int AfxWinMain(HINSTANCE hInstance, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->InitApplication(hInstance);
    pApp->m_nCmdShow = nCmdShow;
    // A FALSE InitInstance means the application did its work (typically a
    // modal dialog) and there is no message loop to run.
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
