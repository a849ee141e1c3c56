#include "app/SkinDirectory.h"

#include "framework/FilePath.h"

#include <gtest/gtest.h>

TEST(SkinDirectory, FolderAndBackgroundPathOfAnEnglishInstall)
{
    std::wstring strExeDir = FilePath::FolderOf(L"C:\\Tools\\app.exe");
    EXPECT_EQ(strExeDir, L"C:\\Tools");
    std::wstring strSkinDir = SkinDirectory::ForLanguage(strExeDir, 0x0409);
    EXPECT_EQ(strSkinDir, L"C:\\Tools\\skin_EN");
    EXPECT_EQ(FilePath::InFolder(strSkinDir, L"0_BG.bmp"), L"C:\\Tools\\skin_EN\\0_BG.bmp");
}

TEST(SkinDirectory, OnlyChinesePrcChoosesTheChineseSkin)
{
    EXPECT_STREQ(SkinDirectory::FolderName(0x0804), L"skin_CN");
    for (WORD wLang : {0x0409, 0x0404, 0x0809, 0x0c04, 0x1004, 0x0407, 0x0000})
        EXPECT_STREQ(SkinDirectory::FolderName(wLang), L"skin_EN") << std::hex << wLang;
    EXPECT_EQ(SkinDirectory::ForLanguage(L"D:\\x", 0x0804), L"D:\\x\\skin_CN");
}
