#include "framework/FilePath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
    // Behaves like GetModuleFileNameW for a module at strPath: copies what fits,
    // returns the buffer size when the path was cut.
    FilePath::ModulePathReader ReaderFor(const std::wstring& strPath, int* pnCalls = nullptr)
    {
        return [strPath, pnCalls](wchar_t* pszBuffer, DWORD nSize) -> DWORD {
            if (pnCalls)
                ++*pnCalls;
            if (strPath.size() < nSize)
            {
                std::wmemcpy(pszBuffer, strPath.c_str(), strPath.size() + 1);
                return static_cast<DWORD>(strPath.size());
            }
            std::wmemcpy(pszBuffer, strPath.c_str(), nSize - 1);
            pszBuffer[nSize - 1] = L'\0';
            return nSize;
        };
    }
}

TEST(FilePath, ReadsAPathLongerThanTheFirstBufferWhole)
{
    std::wstring strDeep = L"C:\\" + std::wstring(700, L'd') + L"\\Velkor.exe";
    int nCalls = 0;
    EXPECT_EQ(FilePath::ExecutablePath(ReaderFor(strDeep, &nCalls)), strDeep);
    EXPECT_EQ(nCalls, 2);   // 512 characters, then 1024

    // Exactly 511 characters fit the first buffer with the terminator; 512 do not.
    std::wstring str511 = L"C:\\" + std::wstring(508, L'a');
    std::wstring str512 = str511 + L"b";
    EXPECT_EQ(FilePath::ExecutablePath(ReaderFor(str511)), str511);
    EXPECT_EQ(FilePath::ExecutablePath(ReaderFor(str512)), str512);

    EXPECT_EQ(FilePath::ExecutablePath([](wchar_t*, DWORD) -> DWORD { return 0; }), L"");
    // A reader that always claims to be cut off ends instead of growing forever.
    EXPECT_EQ(FilePath::ExecutablePath([](wchar_t*, DWORD nSize) { return nSize; }), L"");
}

TEST(FilePath, RealExecutablePathIsAbsoluteAndNamesThisProgram)
{
    std::wstring strPath = FilePath::ExecutablePath();
    ASSERT_GT(strPath.size(), 3u);
    EXPECT_EQ(strPath.substr(1, 2), L":\\");
    EXPECT_EQ(FilePath::BaseNameOf(strPath), L"framework_tests");
    EXPECT_EQ(FilePath::BaseNameOf(L"C:\\a.b\\Velkor"), L"Velkor");
}

TEST(FilePath, LongFilePathsUseTheFoldersShortFormWhateverItsCharacters)
{
    // A real folder deep enough that folder, backslash and name pass MAX_PATH,
    // named in a script that no Western ANSI code page can spell.
    wchar_t szTemp[MAX_PATH + 1];
    std::wstring strRoot(szTemp, GetTempPathW(MAX_PATH + 1, szTemp));
    strRoot += L"velkor-\u0441\u043a\u0438\u043d-" + std::to_wstring(GetCurrentProcessId());
    std::vector<std::wstring> folders = {strRoot};
    for (int i = 0; i < 8; ++i)
        folders.push_back(folders.back() + L"\\\u0434\u043b\u0438\u043d\u043d\u0430\u044f-folder-name-0123456789");
    for (const std::wstring& strFolder : folders)
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + strFolder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    std::wstring strFile = folders.back() + L"\\x.ico";
    HANDLE hFile = CreateFileW((L"\\\\?\\" + strFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    DWORD dwWritten = 0;
    WriteFile(hFile, "skin", 4, &dwWritten, nullptr);
    CloseHandle(hFile);

    std::wstring strPath = FilePath::InFolder(folders.back(), L"x.ico");
    EXPECT_LT(strPath.size(), static_cast<size_t>(MAX_PATH));
    HANDLE hRead = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hRead, INVALID_HANDLE_VALUE);
    char szContent[8] = {};
    DWORD dwRead = 0;
    ReadFile(hRead, szContent, sizeof szContent, &dwRead, nullptr);
    CloseHandle(hRead);
    EXPECT_EQ(std::string(szContent, dwRead), "skin");

    // A folder that does not exist has no short form: the path stays as it is.
    std::wstring strMissing = folders.back() + L"\\missing";
    EXPECT_EQ(FilePath::InFolder(strMissing, L"x.ico"), strMissing + L"\\x.ico");
    // Just below the limit nothing changes, whether the folder exists or not.
    std::wstring strDir = L"C:\\" + std::wstring(MAX_PATH - 1 - 3 - 6, L'e');
    EXPECT_EQ(FilePath::InFolder(strDir, L"x.ico"), strDir + L"\\x.ico");

    DeleteFileW((L"\\\\?\\" + strFile).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        RemoveDirectoryW((L"\\\\?\\" + *it).c_str());
}
