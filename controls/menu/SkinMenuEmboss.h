#pragma once
// Paints a disabled menu picture: its dark pixels as a COLOR_BTNSHADOW
// silhouette over a COLOR_BTNHIGHLIGHT copy one pixel right and down, on a
// cell of crBack. Both routines use the image bitmap as scratch space.

#include "framework/DC.h"

class CSkinMenuEmboss
{
public:
    // Mask made on a monochrome bitmap: the picture is every pixel that is
    // neither COLOR_BTNFACE nor COLOR_BTNHIGHLIGHT.
    static void DrawEmbossed(CDC* pDC, int x, int y, int nWidth, int nHeight, CBitmap& image, COLORREF crBack);
    // Mask made on a 1-bit DIB section, as the platform converts colours to it.
    static void DrawEmbossedDib(CDC* pDC, int x, int y, int nWidth, int nHeight, CBitmap& image, COLORREF crBack);
};
