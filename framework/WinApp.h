#pragma once
#include <windows.h>
#include <string>

class CWnd;

// The application object. The program defines exactly one, as a global of a
// class derived from this one; the layer's WinMain finds it through
// AfxGetApp() and calls InitInstance. When InitInstance returns FALSE the
// process ends with ExitInstance's result; otherwise Run pumps messages
// until WM_QUIT.
class CWinApp
{
public:
    // A null name means the executable's file name without extension.
    explicit CWinApp(const char* lpszAppName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // ---- Overrideables
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // ---- Operations
    // Names the registry key for settings; nothing is written here.
    void SetRegistryKey(const char* lpszRegistryKey);
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    // Called by WinMain before InitInstance: module handles and the
    // application name.
    void InitApplication(HINSTANCE hInstance);

    // Data members
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;   // points into m_strAppName
    const char* m_pszRegistryKey = nullptr;   // points into m_strRegistryKey
    int m_nCmdShow = SW_SHOWNORMAL;

private:
    std::string m_strAppName;
    std::string m_strRegistryKey;
};
