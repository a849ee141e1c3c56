#include "framework/FileStamp.h"

#include <gtest/gtest.h>

#include "tests/support/FileSystem.h"
#include "tests/support/TempFolder.h"

TEST(FileStamp, StaysWhileTheFileStaysAndChangesWhenACopyOfTheSameSizeAndWriteTimeReplacesIt)
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
