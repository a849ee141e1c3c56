#include "controls/menu/SkinMenuEmboss.h"

#include "framework/ScopedSelect.h"

namespace
{
    // ((pattern ^ dest) & source) ^ dest: the brush where the source is set.
    const DWORD ROP_BRUSH_WHERE_SOURCE = 0xE20746;
    // ((dest ^ pattern) & source) ^ pattern: the brush where the source is clear.
    const DWORD ROP_BRUSH_WHERE_NOT_SOURCE = 0xB8074A;
}

void CSkinMenuEmboss::DrawEmbossed(CDC* pDC, int x, int y, int nWidth, int nHeight, CBitmap& image, COLORREF crBack)
{
    CDC maskDC;
    maskDC.CreateCompatibleDC(nullptr);
    CBitmap mask;   // compatible with a fresh memory DC: monochrome
    mask.CreateCompatibleBitmap(&maskDC, nWidth, nHeight);
    CDC colorDC;
    colorDC.CreateCompatibleDC(nullptr);
    const ScopedSelect selectMask(maskDC, mask);
    const ScopedSelect selectImage(colorDC, image);

    // White where the picture shows face or highlight, black elsewhere.
    maskDC.PatBlt(0, 0, nWidth, nHeight, WHITENESS);
    colorDC.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    maskDC.BitBlt(0, 0, nWidth, nHeight, &colorDC, 0, 0, SRCCOPY);
    colorDC.SetBkColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    maskDC.BitBlt(0, 0, nWidth, nHeight, &colorDC, 0, 0, SRCPAINT);

    // The image bitmap is the work buffer from here on. Black mask pixels
    // turn white through the text colour: they take the brush.
    colorDC.FillSolidRect(0, 0, nWidth, nHeight, crBack);
    colorDC.SetBkColor(RGB(0, 0, 0));
    colorDC.SetTextColor(RGB(255, 255, 255));

    CBrush brushHighlight(::GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush brushShadow(::GetSysColor(COLOR_BTNSHADOW));
    {
        const ScopedSelect selectBrush(colorDC, brushHighlight);
        colorDC.BitBlt(0, 0, nWidth, nHeight, &maskDC, 0, 0, ROP_BRUSH_WHERE_SOURCE);
        pDC->BitBlt(x + 1, y + 1, nWidth, nHeight, &colorDC, 0, 0, SRCCOPY);
        colorDC.BitBlt(1, 1, nWidth, nHeight, &maskDC, 0, 0, ROP_BRUSH_WHERE_SOURCE);
    }
    {
        const ScopedSelect selectBrush(colorDC, brushShadow);
        colorDC.BitBlt(0, 0, nWidth, nHeight, &maskDC, 0, 0, ROP_BRUSH_WHERE_SOURCE);
    }
    pDC->BitBlt(x, y, nWidth, nHeight, &colorDC, 0, 0, SRCCOPY);
}

void CSkinMenuEmboss::DrawEmbossedDib(CDC* pDC, int x, int y, int nWidth, int nHeight, CBitmap& image, COLORREF crBack)
{
    CDC sourceDC;
    CDC maskDC;
    if (!sourceDC.CreateCompatibleDC(pDC) || !maskDC.CreateCompatibleDC(&sourceDC))
        return;

    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = nWidth;
    info.header.biHeight = nHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    void* pBits = nullptr;
    CBitmap mask;
    if (!mask.Attach(
            ::CreateDIBSection(maskDC, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pBits, nullptr, 0)
        ))
        return;

    const ScopedSelect selectMask(maskDC, mask);
    const ScopedSelect selectImage(sourceDC, image);
    maskDC.BitBlt(0, 0, nWidth, nHeight, &sourceDC, 0, 0, SRCCOPY);

    pDC->FillSolidRect(x, y, nWidth, nHeight, crBack);
    CBrush brushHighlight(::GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush brushShadow(::GetSysColor(COLOR_BTNSHADOW));
    {
        const ScopedSelect selectBrush(*pDC, brushHighlight);
        pDC->BitBlt(x + 1, y + 1, nWidth, nHeight, &maskDC, 0, 0, ROP_BRUSH_WHERE_NOT_SOURCE);
    }
    {
        const ScopedSelect selectBrush(*pDC, brushShadow);
        pDC->BitBlt(x, y, nWidth, nHeight, &maskDC, 0, 0, ROP_BRUSH_WHERE_NOT_SOURCE);
    }
}
