#include "notify/TestSkinFolder.h"

#include "tests/support/PixelImage.h"

namespace
{
    std::string ToAnsi(const std::wstring& str)
    {
        const int nLength = ::WideCharToMultiByte(CP_ACP, 0, str.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string strAnsi(nLength > 0 ? nLength - 1 : 0, '\0');
        ::WideCharToMultiByte(CP_ACP, 0, str.c_str(), -1, strAnsi.data(), nLength, nullptr, nullptr);
        return strAnsi;
    }
}

TestSkinFolder::TestSkinFolder(SIZE sizeP1) : m_strPath(ToAnsi(m_folder.Path()))
{
    PixelImage(sizeP1.cx, sizeP1.cy, BLUE).SaveBmp(m_folder.File(L"Perf_P1_Blue.bmp"));
    PixelImage(120, 90, GREEN).SaveBmp(m_folder.File(L"Perf_P2_Green.bmp"));
    PixelImage(64, 48, RED).SaveBmp(m_folder.File(L"Perf_P3_Red.bmp"));
}

void TestSkinFolder::Remove(const char* lpszFile) const
{
    ::DeleteFileA((m_strPath + "\\" + lpszFile).c_str());
}
