// The main window as a user meets it: its look, the keys and commands that must
// not close it, the About box, Exit, and dragging it by its background.
#include "tests/support/VelkorSession.h"

#include "tests/support/EcState.h"
#include "tests/support/UserInput.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace
{

    class MainWindow : public ::testing::Test
    {
    protected:
        void SetUp() override { ASSERT_TRUE(velkor.StartShown()); }

        // Nothing but the chip probe has been written to the EC.
        void ExpectNoModeWritten() const
        {
            std::vector<EcOperation> writes = velkor.EcWrites();
            ASSERT_EQ(writes.size(), 1u);
            EXPECT_EQ(writes[0].wAddress, 0x1060);
        }

        VelkorSession velkor;
    };
}

// One started program, one story: what a user sees first, the keys that must not
// close the window, the About box, and dragging the window by its background.
TEST_F(MainWindow, LooksRightIgnoresClosingKeysShowsAboutAndMovesByItsBackground)
{
    HWND hMain = velkor.Main();
    EXPECT_EQ(WindowQuery::Text(hMain), L"Glowdeck--support@glowdeck.example");
    EXPECT_FALSE(GetWindowLongW(hMain, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME)) << "the window has a frame";

    // The seven visible buttons and the hidden Static button are the skinned ones.
    for (int nId : {IDC_MIN, IDC_EXIT, IDC_ON, IDC_BREATH, IDC_COLORLOOP, IDC_RAINBOW, IDC_AUTO, IDC_STATIC_BTN})
    {
        HWND hButton = velkor.Control(nId);
        ASSERT_NE(hButton, nullptr) << nId;
        EXPECT_EQ(IsWindowVisible(hButton) != FALSE, nId != IDC_STATIC_BTN) << nId;
        EXPECT_EQ(GetWindowLongW(hButton, GWL_STYLE) & 0x1F, BS_OWNERDRAW) << nId;
    }

    // The skin: its background, every mode button inactive, Exit and MIN.
    EXPECT_GT(velkor.WaitForBackground(PixelImage::FromBitmapFile(velkor.SkinFile(L"0_BG.bmp"))), 0.99);
    const std::pair<int, const wchar_t*> firstImages[] = {
        {IDC_ON, L"01_On_0.ico"},           {IDC_BREATH, L"03_Breath_0.ico"}, {IDC_COLORLOOP, L"04_ColorLoop_0.ico"},
        {IDC_RAINBOW, L"05_RainBow_0.ico"}, {IDC_AUTO, L"06_Auto_0.ico"},     {IDC_EXIT, L"06_Exit.ico"},
        {IDC_MIN, L"07_Min.ico"},
    };
    for (const auto& [nId, pszIcon] : firstImages)
        EXPECT_GT(velkor.WaitForIcon(nId, velkor.SkinFile(pszIcon)), 0.98) << nId;
    // No mode is written at start: the keyboard keeps whatever the EC holds.
    ExpectNoModeWritten();

    // Keys and commands that would close an ordinary dialog.
    ASSERT_TRUE(UserInput::BringToFront(hMain));
    UserInput::Key(VK_ESCAPE);
    UserInput::Key(VK_RETURN);
    UserInput::Key(VK_F4, VK_MENU);
    // What choosing Close in the window menu, and the Cancel command, send.
    PostMessageW(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(hMain, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageW(hMain, WM_CLOSE, 0, 0);

    // The About box: Alt+Space opens the window menu, Up from nothing selected
    // picks its last item. The program takes the keys in the order given, and
    // messages posted to it before any key that follows: once the menu is
    // open, everything above has been handled.
    UserInput::Key(VK_SPACE, VK_MENU);
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; })) << "no window menu";
    EXPECT_TRUE(IsWindowVisible(hMain));
    EXPECT_TRUE(IsWindowEnabled(hMain));
    // Enter did not click the focused mode button either.
    ExpectNoModeWritten();
    UserInput::Key(VK_UP);
    UserInput::Key(VK_RETURN);

    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<HWND> dialogs = WindowQuery::OwnedDialogs(velkor.Process().Pid());
        hAbout = dialogs.empty() ? nullptr : dialogs[0];
        return hAbout != nullptr;
    })) << "the last item of the window menu did not open the About box";
    EXPECT_EQ(WindowQuery::Text(hAbout), L"About Velkor");
    EXPECT_EQ(GetWindow(hAbout, GW_OWNER), hMain);
    std::vector<std::wstring> texts;
    for (HWND hChild : WindowQuery::Children(hAbout))
        texts.push_back(WindowQuery::Text(hChild));
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Velkor, Version 1.0"), texts.end());
    EXPECT_FALSE(IsWindowEnabled(hMain)) << "the About box is not modal";

    // Enter presses the About box's OK; the main window goes on.
    ASSERT_TRUE(UserInput::BringToFront(hAbout));
    UserInput::Key(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hAbout) || !IsWindowVisible(hAbout); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(hMain) != FALSE; }));

    // Dragging, away from the screen's corner, so that client and screen coordinates differ.
    SetWindowPos(hMain, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return WindowQuery::ScreenRect(hMain).left == 150; }));
    ASSERT_TRUE(UserInput::BringToFront(hMain));
    const RECT rcBefore = WindowQuery::ScreenRect(hMain);

    // Between the Auto button and the left edge lies plain background.
    RECT rcAuto = WindowQuery::ScreenRect(velkor.Control(IDC_AUTO));
    POINT ptFrom = {(rcBefore.left + rcAuto.left) / 2, (rcAuto.top + rcAuto.bottom) / 2};
    POINT ptTo = {ptFrom.x + 90, ptFrom.y + 60};
    SIZE moved = UserInput::Drag(ptFrom, ptTo);
    // The window follows the cursor exactly.
    RECT rcAfter = {};
    EXPECT_TRUE(WaitUntil([&] {
        rcAfter = WindowQuery::ScreenRect(hMain);
        return rcAfter.left - rcBefore.left == moved.cx && rcAfter.top - rcBefore.top == moved.cy;
    })) << "moved by "
        << rcAfter.left - rcBefore.left << " x " << rcAfter.top - rcBefore.top << ", the cursor by " << moved.cx
        << " x " << moved.cy;
    EXPECT_EQ(rcAfter.right - rcAfter.left, rcBefore.right - rcBefore.left);
    EXPECT_TRUE(velkor.Process().IsRunning());
}

TEST_F(MainWindow, ExitEndsTheProcessAtOnceWithStatusZeroLeavingTheModeInTheEc)
{
    UserInput::ClickCentre(velkor.Control(IDC_BREATH));
    ASSERT_TRUE(velkor.WaitForEcWrites(3));
    size_t nWrites = velkor.EcWrites().size();

    ASSERT_TRUE(IsWindowVisible(velkor.Main()));
    UserInput::ClickCentre(velkor.Control(IDC_EXIT));
    ASSERT_TRUE(velkor.Process().WaitForExit(10000));
    EXPECT_EQ(velkor.Process().ExitCode(), 0u);
    EXPECT_EQ(velkor.EcWrites().size(), nWrites) << "something was written to the EC on the way out";
    EXPECT_EQ(EcState::Load(velkor.Install().StatePath()).At(velkor.EcRamBase() + 0xF6), 3);
}
