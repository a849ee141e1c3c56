#include "framework/FilePath.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(FilePath, ReadsAPathLongerThanTheFirstBufferWholeAndStopsOnAReaderThatAlwaysCutsIt)
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
