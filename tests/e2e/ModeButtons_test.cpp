// The mode buttons, the program's purpose: each click sends its mode to the EC
// (the clear byte, then the mode byte) and shows that button active and the
// other mode buttons inactive.
#include "tests/support/VelkorSession.h"

#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/NotifyWindows.h"
#include "tests/support/Text.h"
#include "tests/support/UserInput.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"
#include "tests/support/ec/OtherPortUser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{
    struct Mode
    {
        int nId;
        std::uint8_t byValue;
        const wchar_t* pszActiveIcon;
        const wchar_t* pszInactiveIcon;
    };

    const Mode AUTO = {IDC_AUTO, 0, L"06_Auto_1.ico", L"06_Auto_0.ico"};
    const Mode ON = {IDC_ON, 1, L"01_On_1.ico", L"01_On_0.ico"};
    const Mode RAINBOW = {IDC_RAINBOW, 2, L"05_RainBow_1.ico", L"05_RainBow_0.ico"};
    const Mode BREATH = {IDC_BREATH, 3, L"03_Breath_1.ico", L"03_Breath_0.ico"};
    const Mode COLORLOOP = {IDC_COLORLOOP, 4, L"04_ColorLoop_1.ico", L"04_ColorLoop_0.ico"};
    const Mode ALL_MODES[] = {AUTO, ON, RAINBOW, BREATH, COLORLOOP};

    class ModeButtons : public ::testing::Test
    {
    protected:
        void StartVelkor()
        {
            ASSERT_TRUE(velkor.StartShown());
            ASSERT_TRUE(UserInput::BringToFront(velkor.Main()));
        }

        // Clicks a mode button as a user does and checks the two EC writes it
        // must cause, nothing more, in order.
        void ClickAndExpectWrites(const Mode& mode)
        {
            size_t nBefore = velkor.EcWrites().size();
            UserInput::ClickCentre(velkor.Control(mode.nId));
            ASSERT_TRUE(velkor.WaitForEcWrites(nBefore + 2)) << "no EC writes after clicking " << mode.nId;
            const std::vector<EcOperation> writes = velkor.EcWrites();
            const std::uint16_t wBase = velkor.EcRamBase();
            EXPECT_EQ(
                std::vector<EcOperation>(writes.begin() + static_cast<std::ptrdiff_t>(nBefore), writes.end()),
                (std::vector<EcOperation>{
                    EcWrite(static_cast<std::uint16_t>(wBase + 0xBD), 0),
                    EcWrite(static_cast<std::uint16_t>(wBase + 0xF6), mode.byValue)})
            ) << "clicking "
              << mode.nId;
            EXPECT_EQ(EcState::Load(velkor.Install().StatePath()).At(wBase + 0xF6), mode.byValue);
        }

        // The clicked button shows its active picture, every other mode button its
        // inactive one.
        void ExpectPictures(const Mode& active)
        {
            for (const Mode& mode : ALL_MODES)
            {
                bool bActive = mode.nId == active.nId;
                std::wstring strWanted = velkor.SkinFile(bActive ? mode.pszActiveIcon : mode.pszInactiveIcon);
                std::wstring strOther = velkor.SkinFile(bActive ? mode.pszInactiveIcon : mode.pszActiveIcon);
                double dWanted = velkor.WaitForIcon(mode.nId, strWanted);
                double dOther = velkor.IconMatch(mode.nId, strOther);
                EXPECT_GT(dWanted, 0.98) << "button " << mode.nId << (bActive ? " active" : " inactive")
                                         << " after clicking " << active.nId;
                EXPECT_GT(dWanted, dOther + 0.02) << "button " << mode.nId << " shows the wrong picture";
            }
        }

        VelkorSession velkor;
    };
}

// Every mode writes the clear byte, then its mode byte, and shows its button
// active; a second click on it does the same again.
TEST_F(ModeButtons, EveryModeWritesClearThenModeAndShowsItsButtonActive)
{
    StartVelkor();
    RECT rcWindow = WindowQuery::ScreenRect(velkor.Main());
    for (const Mode& mode : {BREATH, AUTO, ON, RAINBOW, COLORLOOP})
    {
        ClickAndExpectWrites(mode);
        ExpectPictures(mode);
    }
    RECT rcNow = WindowQuery::ScreenRect(velkor.Main());
    EXPECT_TRUE(EqualRect(&rcWindow, &rcNow)) << "clicking buttons moved the window";

    // Pictures replaced on disk: a repeated click writes again and reads anew
    // the clicked button's picture and that of a button it leaves inactive.
    FileSystem::Copy(velkor.SkinFile(L"07_Min.ico"), velkor.SkinFile(COLORLOOP.pszActiveIcon));
    FileSystem::Copy(velkor.SkinFile(ON.pszInactiveIcon), velkor.SkinFile(AUTO.pszInactiveIcon));
    ClickAndExpectWrites(COLORLOOP);
    EXPECT_GT(velkor.WaitForIcon(IDC_COLORLOOP, velkor.SkinFile(L"07_Min.ico")), 0.98)
        << "the active picture was not reloaded";
    EXPECT_GT(velkor.WaitForIcon(IDC_AUTO, velkor.SkinFile(ON.pszInactiveIcon)), 0.98)
        << "the inactive picture was not reloaded";
}

// While another program keeps the EC ports, the window touches none: its
// power polls are skipped, and a click, after waiting its second, writes
// nothing, leaves the pictures as they were and says so in a box the window
// owns. Once the ports are free, polls and clicks work as before.
TEST_F(ModeButtons, WhileAnotherProgramKeepsThePortsAClickWritesNothingAndSaysSo)
{
    StartVelkor();
    ClickAndExpectWrites(ON);
    ExpectPictures(ON);
    TestInstall& install = velkor.Install();
    OtherPortUser other(Text::ToUtf8(install.StatePath()), Text::ToUtf8(install.LogPath()));
    ASSERT_TRUE(other.Hold());
    const PortLog before = PortLog::Load(install.LogPath());
    const size_t nLogged = before.Accesses().size(), nOperations = before.EcOperations().size();
    NotifyWindows::SetPowerLevel(velkor, 2);

    UserInput::ClickCentre(velkor.Control(BREATH.nId));
    ASSERT_TRUE(WaitUntil([&] { return velkor.MessageBoxes().size() == 1; })) << "no word of the busy ports";
    const HWND hBox = velkor.MessageBoxes()[0];
    EXPECT_EQ(GetWindow(hBox, GW_OWNER), velkor.Main());
    EXPECT_TRUE(WindowQuery::MessageBoxText(hBox).starts_with(L"Another program is using the EC ports"));
    // The polls go on behind the box, each refused: two ticks of the poll's
    // timer, sent, have run when the checks come.
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(NotifyWindows::Poll(velkor)) << "a poll behind the box was not answered";
    EXPECT_EQ(PortLog::Load(install.LogPath()).Accesses().size(), nLogged) << "ports touched while they were held";
    EXPECT_EQ(NotifyWindows::PowerPopup(velkor), nullptr) << "a level was read while the ports were held";
    ExpectPictures(ON);

    PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return velkor.MessageBoxes().empty(); }));
    other.Go();
    EXPECT_EQ(other.Wait(), 0u);
    const HWND hPopup = NotifyWindows::WaitForPopupShown(velkor);
    ASSERT_NE(hPopup, nullptr) << "the polls did not come back";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hPopup); })) << "the popup stays over the buttons";
    ASSERT_TRUE(UserInput::BringToFront(velkor.Main()));
    ClickAndExpectWrites(BREATH);
    ExpectPictures(BREATH);
    EXPECT_EQ(PortLog::Load(install.LogPath()).EcOperations().at(nOperations), EcRead(0x2000, 0x55))
        << "the other program's access did not come first";
}
