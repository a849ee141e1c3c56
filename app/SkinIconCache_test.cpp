#include "app/SkinIconCache.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/IconInfo.h"
#include "tests/support/FileSystem.h"
#include "tests/support/TempFolder.h"

namespace
{
    // The colour pixels of an icon, as 32-bit values.
    std::vector<DWORD> PixelsOf(HICON hIcon)
    {
        CIconInfo info;
        BITMAP bm{};
        if (!info.Read(hIcon) || ::GetObjectA(info.hbmColor, sizeof bm, &bm) == 0)
            return {};
        BITMAPINFO bmi{};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
        HDC hdc = ::GetDC(nullptr);
        ::GetDIBits(hdc, info.hbmColor, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, hdc);
        return pixels;
    }

    std::wstring SkinPicture(const wchar_t* pszName)
    {
        return FileSystem::ProductFolder() + L"\\skin_EN\\" + pszName;
    }

    std::vector<DWORD> PixelsOfFile(const std::wstring& strPath)
    {
        SharedIcon icon = SharedIcon::Adopt(
            static_cast<HICON>(::LoadImageW(nullptr, strPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE))
        );
        return PixelsOf(icon.Handle());
    }
}   // namespace

TEST(SkinIconCache, GivesTheSameIconWhileTheFileStaysAndTheNewPictureOnceItIsReplaced)
{
    TempFolder temp;
    const std::wstring strPicture = temp.File(L"mode.ico");
    FileSystem::Copy(SkinPicture(L"03_Breath_1.ico"), strPicture);
    SkinIconCache cache;
    cache.SetFolder(temp.Path());

    const SharedIcon first = cache.Icon(L"mode.ico");
    ASSERT_TRUE(first);
    EXPECT_EQ(PixelsOf(first.Handle()), PixelsOfFile(strPicture));
    EXPECT_EQ(cache.Icon(L"mode.ico"), first) << "an unchanged file is not read again";

    // A copy of the same size, with the write time of the file it replaces.
    const unsigned long long nWriteTime = FileSystem::LastWriteTime(strPicture);
    FileSystem::Copy(SkinPicture(L"01_On_1.ico"), strPicture);
    FileSystem::SetLastWriteTime(strPicture, nWriteTime);
    const SharedIcon second = cache.Icon(L"mode.ico");
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(PixelsOf(second.Handle()), PixelsOfFile(SkinPicture(L"01_On_1.ico")));

    // Another folder: its own pictures by the same names.
    TempFolder other;
    FileSystem::Copy(SkinPicture(L"07_Min.ico"), other.File(L"mode.ico"));
    cache.SetFolder(other.Path());
    EXPECT_EQ(PixelsOf(cache.Icon(L"mode.ico").Handle()), PixelsOfFile(SkinPicture(L"07_Min.ico")));
}

TEST(SkinIconCache, AMissingOrDamagedFileGivesNoIconUntilAnIconTakesItsPlace)
{
    TempFolder temp;
    SkinIconCache cache;
    cache.SetFolder(temp.Path());
    EXPECT_FALSE(cache.Icon(L"late.ico"));
    FileSystem::WriteBytes(temp.File(L"late.ico"), std::vector<unsigned char>(21662, 0x5A));
    EXPECT_FALSE(cache.Icon(L"late.ico"));
    EXPECT_FALSE(cache.Icon(L"late.ico"));
    FileSystem::Copy(SkinPicture(L"06_Exit.ico"), temp.File(L"late.ico"));
    EXPECT_TRUE(cache.Icon(L"late.ico"));
}
