#include "tests/support/notify/TestSkinFolder.h"

#include <cstring>
#include <vector>

#include "tests/support/FileSystem.h"

namespace
{
    // A 24-bit bitmap file of one colour.
    void WriteBitmap(const std::wstring& strPath, SIZE size, COLORREF cr)
    {
        const DWORD cbRow = static_cast<DWORD>(size.cx * 3 + 3) & ~3u;
        const BITMAPINFOHEADER info = {sizeof info, size.cx, size.cy, 1, 24, BI_RGB, cbRow * size.cy, 0, 0, 0, 0};
        const BITMAPFILEHEADER file = {
            0x4D42, DWORD(sizeof file + sizeof info + info.biSizeImage), 0, 0, sizeof file + sizeof info};
        std::vector<unsigned char> bytes(file.bfSize);
        std::memcpy(bytes.data(), &file, sizeof file);
        std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
        for (LONG y = 0; y < size.cy; ++y)
            for (LONG x = 0; x < size.cx; ++x)
            {
                unsigned char* pPixel = &bytes[file.bfOffBits + y * cbRow + x * 3];
                pPixel[0] = GetBValue(cr);
                pPixel[1] = GetGValue(cr);
                pPixel[2] = GetRValue(cr);
            }
        FileSystem::WriteBytes(strPath, bytes);
    }
}

TestSkinFolder::TestSkinFolder(SIZE sizeP1)
{
    WriteBitmap(m_folder.File(L"Perf_P1_Blue.bmp"), sizeP1, BLUE);
    WriteBitmap(m_folder.File(L"Perf_P2_Green.bmp"), {120, 90}, GREEN);
    WriteBitmap(m_folder.File(L"Perf_P3_Red.bmp"), {64, 48}, RED);
}
