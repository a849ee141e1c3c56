#include "framework/FileStamp.h"

#include <gtest/gtest.h>

#include "tests/support/FileSystem.h"
#include "tests/support/TempFolder.h"

#include <vector>

// Stays while the file stays; changes when a copy of the same size and write
// time replaces it.
TEST(FileStamp, StaysWithTheFileAndChangesWhenALookAlikeCopyReplacesIt)
{
    TempFolder temp;
    const std::wstring strPicture = temp.File(L"picture.ico"), strOther = temp.File(L"other.ico");
    EXPECT_FALSE(FileStamp::Of(strPicture)) << "a missing file has no stamp";

    FileSystem::WriteBytes(strPicture, std::vector<unsigned char>(100, 'a'));
    FileSystem::WriteBytes(strOther, std::vector<unsigned char>(100, 'b'));
    FileSystem::SetLastWriteTime(strOther, FileSystem::LastWriteTime(strPicture));
    const auto stamp = FileStamp::Of(strPicture);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(FileStamp::Of(strPicture), stamp);
    EXPECT_EQ(FileStamp::Of(temp.Path() + L"\\.\\sub\\..\\picture.ico"), stamp) << "the same file by another name";

    // A copy keeps its source's write time, so size and write time cannot tell it.
    Sleep(20);   // past the clock tick of the write above
    FileSystem::Copy(strOther, strPicture);
    ASSERT_EQ(FileSystem::LastWriteTime(strPicture), FileSystem::LastWriteTime(strOther))
        << "a copy keeps the write time";
    EXPECT_NE(FileStamp::Of(strPicture), stamp);

    // A folder in the file's place.
    ASSERT_TRUE(DeleteFileW(strPicture.c_str()));
    ASSERT_TRUE(CreateDirectoryW(strPicture.c_str(), nullptr));
    EXPECT_TRUE(FileStamp::Of(strPicture));
    EXPECT_NE(FileStamp::Of(strPicture), stamp);
}

// Two writes within one step of the clock leave equal stamps. The file is dated
// ahead, so the check does not hang on how soon after the write it runs.
TEST(FileStamp, IsSettledOnlyOnceTheFilesTimesLieMoreThanTheCoarsestStepBeforeIt)
{
    TempFolder temp;
    const std::wstring strPicture = temp.File(L"picture.ico");
    FileSystem::WriteBytes(strPicture, std::vector<unsigned char>(100, 'a'));
    static const LONGLONG s_nWritten = FileStamp::SystemTime() + 3600 * 10'000'000LL;
    FileSystem::SetLastWriteTime(strPicture, static_cast<unsigned long long>(s_nWritten));
    const auto justInside = FileStamp::Of(strPicture, [] { return s_nWritten + FileStamp::COARSEST_TIME_STEP; });
    const auto justPast = FileStamp::Of(strPicture, [] { return s_nWritten + FileStamp::COARSEST_TIME_STEP + 1; });
    ASSERT_TRUE(justInside && justPast);
    EXPECT_EQ(justInside, justPast) << "when a stamp is taken is no part of the file's version";
    EXPECT_FALSE(justInside->IsSettled());
    EXPECT_TRUE(justPast->IsSettled());
    EXPECT_FALSE(FileStamp::Of(strPicture)->IsSettled()) << "a file dated ahead of the clock";
}
