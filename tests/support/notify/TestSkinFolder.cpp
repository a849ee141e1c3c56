#include "tests/support/notify/TestSkinFolder.h"

#include "tests/support/PixelImage.h"

TestSkinFolder::TestSkinFolder(SIZE sizeP1)
{
    PixelImage(sizeP1.cx, sizeP1.cy, BLUE).SaveBmp(m_folder.File(L"Perf_P1_Blue.bmp"));
    PixelImage(120, 90, GREEN).SaveBmp(m_folder.File(L"Perf_P2_Green.bmp"));
    PixelImage(64, 48, RED).SaveBmp(m_folder.File(L"Perf_P3_Red.bmp"));
}
