#include "app/SkinDirectory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
    // Behaves like GetModuleFileNameA for a module at strPath: copies what fits,
    // returns the buffer size when the path was cut.
    SkinDirectory::ModulePathReader ReaderFor(const std::string& strPath, int* pnCalls = nullptr)
    {
        return [strPath, pnCalls](char* pszBuffer, DWORD nSize) -> DWORD {
            if (pnCalls)
                ++*pnCalls;
            if (strPath.size() < nSize)
            {
                std::memcpy(pszBuffer, strPath.c_str(), strPath.size() + 1);
                return static_cast<DWORD>(strPath.size());
            }
            std::memcpy(pszBuffer, strPath.c_str(), nSize - 1);
            pszBuffer[nSize - 1] = '\0';
            return nSize;
        };
    }
}

TEST(SkinDirectory, FolderAndBackgroundPathOfAnEnglishInstall)
{
    std::string strExeDir = SkinDirectory::FolderOf("C:\\Tools\\app.exe");
    EXPECT_EQ(strExeDir, "C:\\Tools");
    std::string strSkinDir = SkinDirectory::ForLanguage(strExeDir, 0x0409);
    EXPECT_EQ(strSkinDir, "C:\\Tools\\skin_EN");
    EXPECT_EQ(SkinDirectory::FilePath(strSkinDir, "0_BG.bmp"), "C:\\Tools\\skin_EN\\0_BG.bmp");
}

TEST(SkinDirectory, OnlyChinesePrcChoosesTheChineseSkin)
{
    EXPECT_STREQ(SkinDirectory::FolderName(0x0804), "skin_CN");
    for (WORD wLang : {0x0409, 0x0404, 0x0809, 0x0c04, 0x1004, 0x0407, 0x0000})
        EXPECT_STREQ(SkinDirectory::FolderName(wLang), "skin_EN") << std::hex << wLang;
    EXPECT_EQ(SkinDirectory::ForLanguage("D:\\x", 0x0804), "D:\\x\\skin_CN");
}

TEST(SkinDirectory, ReadsAPathLongerThanTheFirstBufferWhole)
{
    std::string strDeep = "C:\\" + std::string(700, 'd') + "\\Velkor.exe";
    int nCalls = 0;
    EXPECT_EQ(SkinDirectory::ExecutablePath(ReaderFor(strDeep, &nCalls)), strDeep);
    EXPECT_EQ(nCalls, 2);   // 512 bytes, then 1024

    // Exactly 511 characters fit the first buffer with the terminator; 512 do not.
    std::string str511 = "C:\\" + std::string(508, 'a');
    std::string str512 = str511 + "b";
    EXPECT_EQ(SkinDirectory::ExecutablePath(ReaderFor(str511)), str511);
    EXPECT_EQ(SkinDirectory::ExecutablePath(ReaderFor(str512)), str512);
}

TEST(SkinDirectory, UnreadablePathGivesAnEmptyPath)
{
    EXPECT_EQ(SkinDirectory::ExecutablePath([](char*, DWORD) -> DWORD { return 0; }), "");
    // A reader that always claims to be cut off ends instead of growing forever.
    EXPECT_EQ(SkinDirectory::ExecutablePath([](char*, DWORD nSize) { return nSize; }), "");
}

TEST(SkinDirectory, RealExecutablePathIsAbsoluteAndNamesThisProgram)
{
    std::string strPath = SkinDirectory::ExecutablePath();
    ASSERT_GT(strPath.size(), 3u);
    EXPECT_EQ(strPath.substr(1, 2), ":\\");
    EXPECT_EQ(strPath.substr(strPath.size() - 4), ".exe");
}

TEST(SkinDirectory, LongFilePathsUseTheFoldersShortForm)
{
    // A real folder deep enough that folder, backslash and name pass MAX_PATH.
    wchar_t szTemp[MAX_PATH + 1];
    std::wstring strRoot(szTemp, GetTempPathW(MAX_PATH + 1, szTemp));
    strRoot += L"velkor-skin-directory-" + std::to_wstring(GetCurrentProcessId());
    std::vector<std::wstring> folders = {strRoot};
    for (int i = 0; i < 8; ++i)
        folders.push_back(folders.back() + L"\\a-rather-long-folder-name-0123456789");
    for (const std::wstring& strFolder : folders)
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + strFolder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    std::wstring strFile = folders.back() + L"\\x.ico";
    HANDLE hFile = CreateFileW((L"\\\\?\\" + strFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    DWORD dwWritten = 0;
    WriteFile(hFile, "skin", 4, &dwWritten, nullptr);
    CloseHandle(hFile);

    std::string strDeepDir(folders.back().begin(), folders.back().end());   // ASCII only
    std::string strPath = SkinDirectory::FilePath(strDeepDir, "x.ico");
    EXPECT_LT(strPath.size(), static_cast<size_t>(MAX_PATH));
    HANDLE hRead = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hRead, INVALID_HANDLE_VALUE) << strPath;
    char szContent[8] = {};
    DWORD dwRead = 0;
    ReadFile(hRead, szContent, sizeof szContent, &dwRead, nullptr);
    CloseHandle(hRead);
    EXPECT_EQ(std::string(szContent, dwRead), "skin");

    // A folder that does not exist has no short form: the path stays as it is.
    std::string strMissing = strDeepDir + "\\missing";
    EXPECT_EQ(SkinDirectory::FilePath(strMissing, "x.ico"), strMissing + "\\x.ico");

    DeleteFileW((L"\\\\?\\" + strFile).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        RemoveDirectoryW((L"\\\\?\\" + *it).c_str());
}

TEST(SkinDirectory, ShortPathsStayAsTheyAre)
{
    // Just below the limit nothing changes, whether the folder exists or not.
    std::string strDir = "C:\\" + std::string(MAX_PATH - 1 - 3 - 6, 'e');
    EXPECT_EQ(SkinDirectory::FilePath(strDir, "x.ico"), strDir + "\\x.ico");
}
