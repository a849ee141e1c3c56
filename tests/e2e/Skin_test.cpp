// Where the program takes its look from: the skin folder beside the executable,
// chosen by the system's default language, with a built-in background when the
// skin has none, found from however deep a folder the program is installed in.
#include "tests/e2e/VelkorSession.h"

#include "tests/support/FileSystem.h"
#include "tests/support/UserInput.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
    constexpr int IDB_DEFAULT_BG = 129;

    // "导入背景图失败,使用默认图片!" under "提示", whatever the system's code page.
    const wchar_t BACKGROUND_FAILED_TEXT[] =
        L"\u5BFC\u5165\u80CC\u666F\u56FE\u5931\u8D25,\u4F7F\u7528\u9ED8\u8BA4\u56FE\u7247!";
    const wchar_t NOTICE_CAPTION[] = L"\u63D0\u793A";

    // The skin the language entry of CTest expects, else the English one.
    std::wstring SystemSkin()
    {
        const char* pszSkin = std::getenv("VELKOR_EXPECT_SKIN");
        return pszSkin ? std::wstring(pszSkin, pszSkin + std::strlen(pszSkin)) : L"skin_EN";
    }

    // The main window shows the skin's background and its On button's picture.
    void ExpectSkinShown(const VelkorSession& velkor, const std::wstring& strSkin)
    {
        EXPECT_TRUE(velkor.MessageBoxes().empty());
        EXPECT_GT(velkor.BackgroundMatch(PixelImage::FromBitmapFile(velkor.SkinFile(L"0_BG.bmp", strSkin))), 0.99);
        EXPECT_GT(velkor.WaitForIcon(ID_ON, velkor.SkinFile(L"01_On_0.ico", strSkin)), 0.98);
    }
}

TEST(Skin, MissingBackgroundIsToldOnceBeforeTheWindowThenTheBuiltInPictureShows)
{
    VelkorSession velkor;
    for (const wchar_t* pszSkin : {L"skin_EN", L"skin_CN"})
        FileSystem::Remove(velkor.SkinFile(L"0_BG.bmp", pszSkin));
    velkor.Start();
    ASSERT_TRUE(velkor.WaitForFirstWindow());
    ASSERT_EQ(velkor.Main(), nullptr) << "the main window showed before the message box";
    std::vector<HWND> boxes = velkor.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    HWND hBox = boxes[0];
    EXPECT_EQ(WindowQuery::Text(hBox), NOTICE_CAPTION);
    EXPECT_EQ(WindowQuery::MessageBoxText(hBox), BACKGROUND_FAILED_TEXT);
    // An OK button only (its text is the system's, in the system's language).
    std::vector<HWND> buttons = WindowQuery::VisibleButtons(hBox);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(GetDlgCtrlID(buttons[0]), IDOK);

    ASSERT_TRUE(UserInput::BringToFront(hBox));
    UserInput::ClickCentre(buttons[0]);
    ASSERT_TRUE(velkor.WaitForMainWindow());
    Pause(500);
    EXPECT_TRUE(velkor.MessageBoxes().empty()) << "the message came more than once";
    PixelImage builtIn = PixelImage::FromBitmapResource(velkor.Install().ExePath(), IDB_DEFAULT_BG);
    EXPECT_EQ(builtIn.Width(), 1024);
    EXPECT_EQ(builtIn.Height(), 769);
    EXPECT_GT(velkor.BackgroundMatch(builtIn), 0.99);
    // The buttons still have their pictures.
    EXPECT_GT(velkor.WaitForIcon(ID_ON, velkor.SkinFile(L"01_On_0.ico", SystemSkin())), 0.98);
}

TEST(Skin, ProgramInstalledDeeperThan512CharactersFindsItsSkins)
{
    std::wstring strDeep;
    while (strDeep.size() < 560)
        strDeep += (strDeep.empty() ? L"" : L"\\") + std::wstring(L"a-deeply-nested-install-folder-") +
                   std::to_wstring(strDeep.size());
    VelkorSession velkor(strDeep);
    ASSERT_GT(velkor.Install().ExePath().size(), 600u);
    velkor.Start();
    ASSERT_TRUE(velkor.WaitForFirstWindow()) << "io.dll was not found beside the deep install";
    ASSERT_NE(velkor.Main(), nullptr) << "a message box came: the skin was not found";
    ExpectSkinShown(velkor, L"skin_EN");

    ASSERT_TRUE(UserInput::BringToFront(velkor.Main()));
    UserInput::ClickCentre(velkor.Control(ID_BREATH));
    EXPECT_GT(velkor.WaitForIcon(ID_BREATH, velkor.SkinFile(L"03_Breath_1.ico")), 0.98);
}

// Runs once per system language: each CTest entry starts the tests with another
// LC_ALL and names the language it gives and the skin the program must take.
TEST(Language, SkinFollowsTheSystemDefaultLanguage)
{
    const char* pszLangId = std::getenv("VELKOR_EXPECT_LANGID");
    const char* pszSkin = std::getenv("VELKOR_EXPECT_SKIN");
    if (!pszLangId || !pszSkin)
        GTEST_SKIP() << "run by the language entries of CTest";
    ASSERT_EQ(GetSystemDefaultLangID(), std::strtoul(pszLangId, nullptr, 16)) << "LC_ALL did not give the language";

    std::wstring strSkin = SystemSkin();
    VelkorSession velkor;
    // Without the other folder a wrong choice shows at once: a message box and blank buttons.
    FileSystem::Remove(velkor.Install().Folder() + (strSkin == L"skin_CN" ? L"\\skin_EN" : L"\\skin_CN"));
    velkor.Start();
    ASSERT_TRUE(velkor.WaitForFirstWindow());
    ASSERT_NE(velkor.Main(), nullptr) << "a message box came: " << pszSkin << " was not chosen";
    ExpectSkinShown(velkor, strSkin);
}
