#include "framework/WinApp.h"
#include "framework/Afx.h"

// Set by the application object's constructor; the layer has exactly one.
extern CWinApp* g_pApp;

CWinApp::CWinApp(const char* lpszAppName)
    : m_strAppName(lpszAppName != nullptr ? lpszAppName : AfxGetModuleBaseName())
{
    m_pszAppName = m_strAppName.c_str();
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE hInstance)
{
    m_hInstance = hInstance;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    for (;;)
    {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            AfxOnIdle();
        const BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bResult == 0)
            break;
        if (bResult < 0)
            return ExitInstance();
        AfxDispatchMessage(&msg);
    }
    const int nExitInstance = ExitInstance();
    return nExitInstance != 0 ? nExitInstance : static_cast<int>(msg.wParam);
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.c_str();
}
