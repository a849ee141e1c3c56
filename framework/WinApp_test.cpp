#include "framework/WinApp.h"
#include <gtest/gtest.h>
#include <string>
#include "framework/Afx.h"
#include "framework/Wnd.h"

namespace
{
class CTestApp : public CWinApp
{
public:
    explicit CTestApp(BOOL bInitResult, const char* lpszName = nullptr)
        : CWinApp(lpszName), m_bInitResult(bInitResult) {}

    BOOL InitInstance() override
    {
        m_nInitCalls++;
        if (m_bInitResult)
            ::PostQuitMessage(3);   // ends Run with this code
        return m_bInitResult;
    }
    int Run() override
    {
        m_bRan = true;
        return CWinApp::Run();
    }

    BOOL m_bInitResult;
    int m_nInitCalls = 0;
    bool m_bRan = false;
};

// What a message box showed, read while it is up; then it is closed.
struct MessageBoxSeen
{
    std::wstring strCaption;
    std::wstring strText;
    HWND hOwner = nullptr;
};
MessageBoxSeen g_seen;

BOOL CALLBACK CloseMessageBox(HWND hWnd, LPARAM)
{
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (std::wstring(szClass) != L"#32770" || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t szText[256] = {};
    ::GetWindowTextW(hWnd, szText, 256);
    g_seen.strCaption = szText;
    ::GetDlgItemTextW(hWnd, 0xFFFF, szText, 256);   // the box's text control
    g_seen.strText = szText;
    g_seen.hOwner = ::GetWindow(hWnd, GW_OWNER);
    ::PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK OnTimerInsideMessageBox(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    if (::EnumThreadWindows(::GetCurrentThreadId(), &CloseMessageBox, 0) == FALSE)
        ::KillTimer(nullptr, nIDEvent);
}

template <class TShow>
MessageBoxSeen ShowAndRead(TShow show)
{
    g_seen = {};
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 20, &OnTimerInsideMessageBox);
    show();
    ::KillTimer(nullptr, nTimer);
    return g_seen;
}
} // namespace

TEST(Application, NameFromTheExecutableAndTheGlobalObject)
{
    EXPECT_STREQ("framework_tests", AfxGetAppName());   // no application object yet
    {
        CTestApp app(FALSE);
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(&app, AfxGetThread());
        EXPECT_STREQ("framework_tests", app.m_pszAppName);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    CTestApp named(FALSE, "Glowdeck");
    EXPECT_STREQ("Glowdeck", AfxGetAppName());
}

TEST(Application, StartUpRunsTheMessageLoopOnlyWhenInitInstanceSaysTrue)
{
    {
        CTestApp app(FALSE);
        EXPECT_EQ(0, AfxWinMain(::GetModuleHandleW(nullptr), SW_SHOW));
        EXPECT_EQ(1, app.m_nInitCalls);
        EXPECT_FALSE(app.m_bRan);
        EXPECT_EQ(::GetModuleHandleW(nullptr), AfxGetInstanceHandle());
    }
    CTestApp app(TRUE);
    EXPECT_EQ(3, AfxWinMain(::GetModuleHandleW(nullptr), SW_SHOW));
    EXPECT_TRUE(app.m_bRan);
}

TEST(Application, MessageBoxesWithoutCaptionCarryTheApplicationName)
{
    CTestApp app(FALSE, "Glowdeck");
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));

    MessageBoxSeen seen = ShowAndRead([&owner] { owner.MessageBox("narrow text"); });
    EXPECT_EQ(L"Glowdeck", seen.strCaption);
    EXPECT_EQ(L"narrow text", seen.strText);
    EXPECT_EQ(owner.m_hWnd, seen.hOwner);

    // Wide texts arrive intact whatever the code page.
    const std::wstring strChinese = L"\u5BFC\u5165\u80CC\u666F\u56FE\u5931\u8D25!";
    seen = ShowAndRead([&] { owner.MessageBoxW(strChinese.c_str()); });
    EXPECT_EQ(L"Glowdeck", seen.strCaption);
    EXPECT_EQ(strChinese, seen.strText);

    seen = ShowAndRead([] { AfxMessageBox("from the application"); });
    EXPECT_EQ(L"Glowdeck", seen.strCaption);
}
