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

    constexpr LONGLONG MINUTE = 60 * 10'000'000LL;

    // A clock a minute ahead: every file the test writes is settled by then.
    LONGLONG MinuteLater()
    {
        return FileStamp::SystemTime() + MINUTE;
    }
}   // namespace

TEST(SkinIconCache, GivesTheSameIconWhileTheFileStaysAndTheNewPictureOnceItIsReplaced)
{
    TempFolder temp;
    const std::wstring strPicture = temp.File(L"mode.ico");
    FileSystem::Copy(SkinPicture(L"03_Breath_1.ico"), strPicture);
    SkinIconCache cache(MinuteLater);
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

// A file changed within the coarsest step of the file system's clock might
// change again without a new stamp: until its stamp is settled it is read at
// every lookup, after that no more.
TEST(SkinIconCache, AFileChangedJustNowIsReadAgainAtEveryLookupUntilItsStampIsSettled)
{
    TempFolder temp;
    FileSystem::Copy(SkinPicture(L"03_Breath_1.ico"), temp.File(L"mode.ico"));
    // Dated ahead, so that it stays just changed however slowly the test runs.
    FileSystem::SetLastWriteTime(
        temp.File(L"mode.ico"), static_cast<unsigned long long>(FileStamp::SystemTime() + 10 * MINUTE)
    );
    SkinIconCache now;
    now.SetFolder(temp.Path());
    const SharedIcon first = now.Icon(L"mode.ico");
    ASSERT_TRUE(first);
    EXPECT_NE(now.Icon(L"mode.ico"), first) << "a stamp taken just after the change was trusted";

    SkinIconCache later([] { return FileStamp::SystemTime() + 60 * MINUTE; });
    later.SetFolder(temp.Path());
    const SharedIcon settled = later.Icon(L"mode.ico");
    EXPECT_EQ(later.Icon(L"mode.ico"), settled);
}
