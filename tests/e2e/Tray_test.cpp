// The notification area as a user meets it: MIN puts the window away behind a
// tray icon; the icon's left click and its menu bring it back or end the program.
// The tray is driven by the callback messages the shell sends for the icon, and
// the menu by the keys a user presses in it.
#include "tests/e2e/FakeShellTray.h"
#include "tests/support/NotifyWindows.h"
#include "tests/support/VelkorSession.h"

#include "tests/support/UserInput.h"
#include "tests/support/WindowQuery.h"
#include "tests/support/Wait.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

using namespace NotifyWindows;

namespace
{
    class Tray : public ::testing::Test
    {
    protected:
        void SetUp() override { ASSERT_TRUE(velkor.StartShown()); }

        HWND Main() const { return velkor.Main(); }

        // A real click on MIN.
        void PutAway()
        {
            ASSERT_TRUE(UserInput::BringToFront(Main()));
            UserInput::ClickCentre(velkor.Control(IDC_MIN));
            ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); })) << "MIN did not hide the window";
            Pause(300);   // the focus change settles before a user reaches the tray
        }

        // What the shell sends for the icon; the answer, or -1 when the program did not answer.
        LRESULT Callback(WPARAM wIconId, LPARAM lMouse) const
        {
            return VelkorSession::Send(Main(), WM_TRAYNOTIFY, wIconId, lMouse).value_or(-1);
        }

        // MIN's click as the dialog receives it, handled when this returns.
        void SendMinClick() const { ASSERT_TRUE(VelkorSession::ClickButton(velkor.Control(IDC_MIN))); }

        static void Keys(HWND hMenu, std::initializer_list<WORD> keys)
        {
            for (WORD wVk : keys)
                PostMessageW(hMenu, WM_KEYDOWN, wVk, 0);
        }

        VelkorSession velkor;
    };
}

// One started program, one story: the steps each begin from a known state
// (window shown or put away) and leave one.
TEST_F(Tray, MinHidesBehindTheIconWhichBringsTheWindowBackOrKeepsItAway)
{
    EXPECT_FALSE(WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID));
    // Callbacks of another icon answer 1 and change nothing, shown or away.
    EXPECT_EQ(Callback(TRAY_ICON_ID + 1, WM_LBUTTONUP), 1);
    EXPECT_TRUE(IsWindowVisible(Main()));
    PutAway();
    EXPECT_TRUE(WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID));
    EXPECT_EQ(Callback(TRAY_ICON_ID + 1, WM_LBUTTONUP), 1);
    EXPECT_EQ(Callback(0, WM_RBUTTONUP), 1);
    EXPECT_EQ(TrayMenu(velkor), nullptr) << "a menu opened";

    // Moves and presses over the icon do nothing; the left release brings the window back.
    EXPECT_EQ(Callback(TRAY_ICON_ID, WM_MOUSEMOVE), 0);
    EXPECT_EQ(Callback(TRAY_ICON_ID, WM_LBUTTONDOWN), 0);
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_EQ(Callback(TRAY_ICON_ID, WM_LBUTTONUP), 0);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); }, 5000)) << "not brought to the front";

    // The menu closed with Escape leaves the window away.
    PutAway();
    HWND hMenu = OpenTrayMenu(velkor);
    ASSERT_NE(hMenu, nullptr) << "no menu on the right-button release";
    Keys(hMenu, {VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return TrayMenu(velkor) == nullptr; })) << "the menu stays open";
    // Answering means the handler that opened the menu has run to its end.
    ASSERT_TRUE(VelkorSession::Responds(Main()));
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_TRUE(WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID));

    // A restarted shell has forgotten every icon, then announces its new taskbar.
    const UINT nTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = Main();
    nid.uID = TRAY_ICON_ID;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
    PostMessageW(Main(), nTaskbarCreated, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID); }))
        << "the icon is gone for good";

    // The menu's first item brings the window back; then the announcement adds no icon.
    hMenu = OpenTrayMenu(velkor);
    ASSERT_NE(hMenu, nullptr);
    Keys(hMenu, {VK_DOWN, VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Main()) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return !WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID); })) << "the icon stays";
    PostMessageW(Main(), nTaskbarCreated, 0, 0);
    EXPECT_EQ(Callback(TRAY_ICON_ID, WM_MOUSEMOVE), 0);   // handled after the announcement
    EXPECT_FALSE(WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID));
}

// A shell that is busy is asked again; one that never takes the icon (or no
// notification area at all) leaves the window shown, never hidden beyond reach.
TEST_F(Tray, WindowIsNeverHiddenBehindAnIconTheShellDidNotTake)
{
    {
        FakeShellTray shell(FakeShellTray::REFUSE_ALL);
        ASSERT_NO_FATAL_FAILURE(SendMinClick());
        EXPECT_TRUE(IsWindowVisible(Main())) << "hidden, with no icon to bring it back";
        EXPECT_GE(shell.Calls(NIM_ADD), 2) << "the shell was not asked again";
    }
    {
        // Busy for one attempt (its add and its check), then it takes the icon.
        FakeShellTray shell(2);
        ASSERT_NO_FATAL_FAILURE(SendMinClick());
        EXPECT_FALSE(IsWindowVisible(Main())) << "the icon was taken on the second attempt";
        EXPECT_EQ(shell.Calls(NIM_ADD), 2);
        EXPECT_EQ(Callback(TRAY_ICON_ID, WM_LBUTTONUP), 0);
        EXPECT_TRUE(IsWindowVisible(Main()));
    }
    // Away behind the real shell's icon, then a new shell that will not take it.
    PutAway();
    const UINT nTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    {
        FakeShellTray shell(FakeShellTray::REFUSE_ALL);
        PostMessageW(Main(), nTaskbarCreated, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Main()) != FALSE; })) << "left hidden without an icon";
        EXPECT_GE(shell.Calls(NIM_ADD), 2);
    }
}

TEST_F(Tray, MenuExitItemEndsTheProgramWithStatusZeroAndTakesTheIconAlong)
{
    PutAway();
    HWND hMenu = OpenTrayMenu(velkor);
    ASSERT_NE(hMenu, nullptr);
    Keys(hMenu, {VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(velkor.Process().WaitForExit(10000)) << "the program is still running";
    EXPECT_EQ(velkor.Process().ExitCode(), 0u);
    EXPECT_FALSE(WindowQuery::TrayIconExists(Main(), TRAY_ICON_ID)) << "a dead icon is left in the notification area";
}

namespace
{
    // A menu with the given items, drawn by this process at pt the way the
    // system draws the program's tray menu, to compare pixels with.
    PixelImage g_referenceMenu;

    LRESULT CALLBACK ReferenceOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && g_referenceMenu.Width() == 0)
        {
            const HWND hMenu = reinterpret_cast<HWND>(lParam);
            UpdateWindow(hMenu);
            g_referenceMenu = PixelImage::GrabClient(hMenu);
            PostMessageW(hMenu, WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
        return DefWindowProcW(hWnd, message, wParam, lParam);
    }

    PixelImage ReferenceMenu(const wchar_t* pszFirst, const wchar_t* pszSecond, POINT pt)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ReferenceOwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelkorTestMenuOwner";
        RegisterClassW(&wc);
        HWND hOwner =
            CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);

        HMENU hMenu = CreatePopupMenu();
        AppendMenuW(hMenu, MF_STRING, 11, pszFirst);
        AppendMenuW(hMenu, MF_STRING, 13, pszSecond);
        g_referenceMenu = PixelImage();
        SetForegroundWindow(hOwner);
        TrackPopupMenu(hMenu, TPM_RETURNCMD, pt.x, pt.y, 0, hOwner, nullptr);
        DestroyMenu(hMenu);
        DestroyWindow(hOwner);
        return g_referenceMenu;
    }

    bool SameLook(const PixelImage& a, const PixelImage& b)
    {
        return a.Width() > 0 && a.Width() == b.Width() && a.Height() == b.Height() && a.Match(b) > 0.98;
    }
}

// Runs once per system language (see tests/CMakeLists.txt): 2052 gives the
// Chinese items, every other language the English ones.
TEST(Language, TrayMenuSpeaksTheSystemLanguage)
{
    const char* pszLangId = std::getenv("VELKOR_EXPECT_LANGID");
    if (!pszLangId)
        GTEST_SKIP() << "run by the language entries of CTest";
    ASSERT_EQ(GetSystemDefaultLangID(), std::strtoul(pszLangId, nullptr, 16)) << "LC_ALL did not give the language";
    const bool bChinese = GetSystemDefaultLangID() == 0x0804;

    // Both menus open at the cursor, away from the program's window.
    const POINT pt = {40, 40};
    UserInput::MoveTo(pt);
    const PixelImage english = ReferenceMenu(L"01_Open Main UI", L"02_Exit", pt);
    const PixelImage chinese = ReferenceMenu(L"01_\u6253\u5f00\u4e3b\u754c\u9762", L"02_\u9000\u51fa", pt);
    ASSERT_GT(english.Width(), 0);
    ASSERT_FALSE(SameLook(english, chinese)) << "the two languages cannot be told apart on this system";

    VelkorSession velkor;
    ASSERT_TRUE(velkor.StartShown());
    PostMessageW(
        velkor.Main(), WM_COMMAND, MAKEWPARAM(IDC_MIN, BN_CLICKED), reinterpret_cast<LPARAM>(velkor.Control(IDC_MIN))
    );
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(velkor.Main()); }));

    UserInput::MoveTo(pt);
    HWND hMenu = OpenTrayMenu(velkor);
    ASSERT_NE(hMenu, nullptr) << "no menu";
    const PixelImage shown = PixelImage::GrabClient(hMenu);
    PostMessageW(hMenu, WM_KEYDOWN, VK_ESCAPE, 0);

    EXPECT_TRUE(SameLook(shown, bChinese ? chinese : english)) << "language " << pszLangId;
    EXPECT_FALSE(SameLook(shown, bChinese ? english : chinese)) << "language " << pszLangId;
}
