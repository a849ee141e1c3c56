#include "app/SkinIconCache.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/FileSystem.h"
#include "tests/support/TempFolder.h"
#include "tests/support/framework/IconLook.h"

namespace
{
    std::wstring SkinPicture(const wchar_t* pszName)
    {
        return FileSystem::ProductFolder() + L"\\skin_EN\\" + pszName;
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
    EXPECT_EQ(LookOf(first), LoadImageLook(strPicture));
    EXPECT_EQ(cache.Icon(L"mode.ico"), first) << "an unchanged file is not read again";

    // A copy of the same size, with the write time of the file it replaces.
    const unsigned long long nWriteTime = FileSystem::LastWriteTime(strPicture);
    FileSystem::Copy(SkinPicture(L"01_On_1.ico"), strPicture);
    FileSystem::SetLastWriteTime(strPicture, nWriteTime);
    const SharedIcon second = cache.Icon(L"mode.ico");
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(LookOf(second), LoadImageLook(SkinPicture(L"01_On_1.ico")));

    // Another folder: its own pictures by the same names.
    TempFolder other;
    FileSystem::Copy(SkinPicture(L"07_Min.ico"), other.File(L"mode.ico"));
    cache.SetFolder(other.Path());
    EXPECT_EQ(LookOf(cache.Icon(L"mode.ico")), LoadImageLook(SkinPicture(L"07_Min.ico")));
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
