// Where the program takes its look from: the skin folder beside the executable,
// chosen by the system's default language, with a built-in background when the
// skin has none, found from however deep a folder the program is installed in.
#include "tests/support/NotifyWindows.h"
#include "tests/support/VelkorSession.h"

#include "tests/support/FileSystem.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UserInput.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace
{

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
        EXPECT_GT(velkor.WaitForBackground(PixelImage::FromBitmapFile(velkor.SkinFile(L"0_BG.bmp", strSkin))), 0.99);
        EXPECT_GT(velkor.WaitForIcon(IDC_ON, velkor.SkinFile(L"01_On_0.ico", strSkin)), 0.98);
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
    PixelImage builtIn = PixelImage::FromBitmapResource(velkor.Install().ExePath(), IDB_DEFAULT_BG);
    EXPECT_EQ(builtIn.Width(), 1024);
    EXPECT_EQ(builtIn.Height(), 769);
    EXPECT_GT(velkor.WaitForBackground(builtIn), 0.99);
    // The buttons still have their pictures.
    EXPECT_GT(velkor.WaitForIcon(IDC_ON, velkor.SkinFile(L"01_On_0.ico", SystemSkin())), 0.98);
    // Painted and answering: a second message from the start-up would be up by now.
    EXPECT_TRUE(VelkorSession::Responds(velkor.Main()));
    EXPECT_TRUE(velkor.MessageBoxes().empty()) << "the message came more than once";
}

namespace
{
    // The deepest folder Windows starts a program from: the program's own path
    // stays under MAX_PATH, so every file of its skin lies beyond it. (A longer
    // one only starts where long paths are enabled for both sides.)
    std::wstring DeepFolder()
    {
        const size_t nRoot = TempFolder().Path().size();
        const size_t nFolder = MAX_PATH - 5 - std::wcslen(L"\\Velkor.exe");   // room for a longer temp name
        std::wstring strDeep;
        while (nRoot + 1 + strDeep.size() < nFolder)
            strDeep += (strDeep.empty() ? L"" : L"\\") + std::wstring(L"a-deeply-nested-install-folder");
        strDeep.resize(nFolder - nRoot - 1);
        return strDeep.back() == L'\\' ? strDeep + L"x" : strDeep;
    }

    // A power change shows the popup with the green picture, and no message box.
    void ExpectPowerPopupShown(VelkorSession& velkor)
    {
        NotifyWindows::SetPowerLevel(velkor, 2);
        HWND hPopup = NotifyWindows::WaitForPopupShown(velkor);
        ASSERT_NE(hPopup, nullptr) << "no popup for the power change";
        EXPECT_TRUE(velkor.MessageBoxes().empty()) << "a picture of the popup was not found";
        EXPECT_TRUE(WaitUntil([&] { return NotifyWindows::PopupShows(velkor, hPopup, L"Perf_P2_Green.bmp"); }, 2000))
            << "the popup does not show the green picture";
    }
}

// Every file goes through one rule, wherever the program lies: the skin, the
// popup's pictures and the message boxes' captions. The deepest folder leaves
// every skin file beyond MAX_PATH; one whose name the system's ANSI code page
// cannot spell (Cyrillic under code page 1252) needs the wide calls.
TEST(Skin, ProgramInstalledDeepOrOutsideTheAnsiCodePageFindsItsSkinsAndPopupPictures)
{
    ASSERT_EQ(GetACP(), 1252u) << "run by the US English entry of CTest";
    const std::wstring strCyrillic =
        L"\u0412\u0435\u043b\u043a\u043e\u0440-\u043f\u043e\u0434\u0441\u0432\u0435\u0442\u043a\u0430";
    for (const std::wstring& strFolder : {DeepFolder(), strCyrillic})
    {
        SCOPED_TRACE(strFolder == strCyrillic ? "folder outside the code page" : "deepest folder");
        VelkorSession velkor(strFolder);
        ASSERT_LT(velkor.Install().ExePath().size(), static_cast<size_t>(MAX_PATH));
        if (strFolder != strCyrillic)
        {
            ASSERT_GE(velkor.SkinFile(L"0_BG.bmp").size(), static_cast<size_t>(MAX_PATH));
        }
        ASSERT_TRUE(velkor.StartShown());
        ExpectSkinShown(velkor, L"skin_EN");

        ASSERT_TRUE(UserInput::BringToFront(velkor.Main()));
        UserInput::ClickCentre(velkor.Control(IDC_BREATH));
        EXPECT_GT(velkor.WaitForIcon(IDC_BREATH, velkor.SkinFile(L"03_Breath_1.ico")), 0.98);
        ExpectPowerPopupShown(velkor);
    }
}

TEST(Skin, MissingPopupPictureInADeepInstallIsToldWithItsPathUnderTheProgramsName)
{
    VelkorSession velkor(DeepFolder());
    FileSystem::Remove(velkor.SkinFile(L"Perf_P1_Blue.bmp"));
    ASSERT_TRUE(velkor.StartShown());
    NotifyWindows::SetPowerLevel(velkor, 1);
    std::vector<HWND> boxes;
    ASSERT_TRUE(WaitUntil([&] { return !(boxes = velkor.MessageBoxes()).empty(); }));
    ASSERT_TRUE(UserInput::BringToFront(boxes[0]));
    UserInput::ClickCentre(WindowQuery::VisibleButtons(boxes[0]).at(0));
    ASSERT_TRUE(WaitUntil([&] {
        boxes = velkor.MessageBoxes();
        return !boxes.empty() && WindowQuery::Text(boxes[0]) != NOTICE_CAPTION;
    }));
    EXPECT_EQ(WindowQuery::Text(boxes[0]), L"Velkor");
    // The whole path, as the program sees its folder (a Unix start gives it a Z:\ form).
    const std::wstring strText = WindowQuery::MessageBoxText(boxes[0]);
    const std::wstring strEnd = DeepFolder().substr(DeepFolder().rfind(L'\\')) + L"\\skin_EN\\Perf_P1_Blue.bmp";
    EXPECT_GT(strText.size(), static_cast<size_t>(MAX_PATH)) << "the path was cut";
    EXPECT_EQ(strText.substr(strText.size() - std::min(strText.size(), strEnd.size())), strEnd);
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
    ASSERT_TRUE(velkor.StartShown());
    ExpectSkinShown(velkor, strSkin);
}
