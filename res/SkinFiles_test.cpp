// The skin folders the build puts beside the program, loaded as the program loads them
// (from the file at its stored size) and judged as a user would see them.
#include "res/resource.h"
#include "tests/support/FileSystem.h"
#include "tests/support/PixelImage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace
{
    const wchar_t* const SKINS[] = {L"skin_EN", L"skin_CN"};
    const wchar_t* const MODES[] = {L"01_On", L"03_Breath", L"04_ColorLoop", L"05_RainBow", L"06_Auto"};

    // Icons are judged drawn on black: no colour of their own shows through.
    constexpr COLORREF BLACK = RGB(0, 0, 0);

    // The skin folders lie beside the test program, as they lie beside Velkor.exe.
    std::wstring PathOf(const std::wstring& strSkin, const std::wstring& strFile)
    {
        return FileSystem::ModuleFolder() + L"\\" + strSkin + L"\\" + strFile;
    }

    std::set<std::wstring> FilesIn(const std::wstring& strSkin)
    {
        const std::vector<std::wstring> names = FileSystem::FilesIn(FileSystem::ModuleFolder() + L"\\" + strSkin);
        return {names.begin(), names.end()};
    }

    // A little-endian 16-bit field of a file's header.
    WORD HeaderWord(const std::wstring& strPath, int nOffset)
    {
        const std::vector<unsigned char> bytes = FileSystem::ReadBytes(strPath);
        return bytes.size() < 32u ? 0 : static_cast<WORD>(bytes[nOffset] | bytes[nOffset + 1] << 8);
    }

    PixelImage IconOnBlack(const std::wstring& strPath)
    {
        return PixelImage::IconOnFace(strPath, 0, 0, BLACK);
    }
}

TEST(SkinFiles, BothSkinsHoldExactlyTheFilesTheProgramLoadsAndEveryOneLoads)
{
    const std::set<std::wstring> expected = {
        L"0_BG.bmp",          L"01_On_0.ico",        L"01_On_1.ico",        L"02_Static_0.ico",  L"03_Breath_0.ico",
        L"03_Breath_1.ico",   L"04_ColorLoop_0.ico", L"04_ColorLoop_1.ico", L"05_RainBow_0.ico", L"05_RainBow_1.ico",
        L"06_Auto_0.ico",     L"06_Auto_1.ico",      L"06_Exit.ico",        L"07_Min.ico",       L"Perf_P1_Blue.bmp",
        L"Perf_P2_Green.bmp", L"Perf_P3_Red.bmp"};
    for (const wchar_t* pszSkin : SKINS)
    {
        EXPECT_EQ(FilesIn(pszSkin), expected);
        for (const std::wstring& strName : expected)
        {
            SCOPED_TRACE(testing::Message() << pszSkin << "\\" << strName);
            const std::wstring strPath = PathOf(pszSkin, strName);
            if (strName.ends_with(L".bmp"))
            {
                EXPECT_EQ(HeaderWord(strPath, 28), 24);   // bits per pixel
                EXPECT_GT(PixelImage::FromBitmapFile(strPath).Width(), 0);
                continue;
            }
            EXPECT_EQ(HeaderWord(strPath, 4), 1);   // image count
            EXPECT_EQ(HeaderWord(strPath, 12), 32);   // bits per pixel
            // Transparent around the glyph: the corners show the background.
            EXPECT_EQ(IconOnBlack(strPath).At(0, 0), BLACK);
        }
    }
}

TEST(SkinFiles, SelectedModeIconsStandOutFromIdleOnes)
{
    for (const wchar_t* pszSkin : SKINS)
        for (const wchar_t* pszMode : MODES)
        {
            SCOPED_TRACE(testing::Message() << pszSkin << "\\" << pszMode);
            const PixelImage idle = IconOnBlack(PathOf(pszSkin, std::wstring(pszMode) + L"_0.ico"));
            const PixelImage selected = IconOnBlack(PathOf(pszSkin, std::wstring(pszMode) + L"_1.ico"));
            // Idle is a grey outline, selected is lit in colour.
            EXPECT_GT(selected.MeanChroma(), 4 * idle.MeanChroma() + 8.0);
            EXPECT_GT(idle.MeanDifference(selected), 8.0);
        }
}

TEST(SkinFiles, BackgroundCoversTheWindowAndPowerPicturesReadBlueGreenRedAtOneSize)
{
    wchar_t szModule[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    const PixelImage builtIn = PixelImage::FromBitmapResource(szModule, IDB_DEFAULT_BG);
    for (const wchar_t* pszSkin : SKINS)
    {
        SCOPED_TRACE(testing::Message() << pszSkin);
        const PixelImage background = PixelImage::FromBitmapFile(PathOf(pszSkin, L"0_BG.bmp"));
        // Larger than the main window, so it never tiles, and unlike the built-in
        // picture, so a user can tell which of the two is shown.
        EXPECT_GE(background.Width(), 1024);
        EXPECT_GE(background.Height(), 769);
        EXPECT_GT(background.MeanDifference(builtIn), 8.0);

        // The popup takes the level-1 picture's size; the others must match it.
        const PixelImage blue = PixelImage::FromBitmapFile(PathOf(pszSkin, L"Perf_P1_Blue.bmp"));
        const PixelImage green = PixelImage::FromBitmapFile(PathOf(pszSkin, L"Perf_P2_Green.bmp"));
        const PixelImage red = PixelImage::FromBitmapFile(PathOf(pszSkin, L"Perf_P3_Red.bmp"));
        for (const PixelImage* pPicture : {&green, &red})
        {
            EXPECT_EQ(pPicture->Width(), blue.Width());
            EXPECT_EQ(pPicture->Height(), blue.Height());
        }
        const PixelImage::Colour b = blue.MeanColour(), g = green.MeanColour(), r = red.MeanColour();
        EXPECT_GT(b.b, 1.5 * std::max(b.r, b.g));
        EXPECT_GT(g.g, 1.5 * std::max(g.r, g.b));
        EXPECT_GT(r.r, 1.5 * std::max(r.g, r.b));
    }
}
