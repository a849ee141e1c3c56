#include "controls/gallery/GalleryArt.h"

#include "base/OwnedHandle.h"
#include "framework/DC.h"
#include "framework/ImageList.h"
#include "framework/ScopedSaveDC.h"
#include "framework/ScopedSelect.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
    // Menu pictures are 16 x 15, the owner-drawn menu's image cell.
    const int MENU_PICTURE_WIDTH = 16;
    const int MENU_PICTURE_HEIGHT = 15;
    // Drawn on a colour no picture uses, which then turns transparent.
    const COLORREF KEY_COLOUR = RGB(255, 0, 255);
    const double PI = 3.14159265358979323846;

    struct GridPoint
    {
        double x;
        double y;
    };

    std::vector<GridPoint> Rotated(const std::vector<GridPoint>& points, double dDegrees)
    {
        const double dAngle = dDegrees * PI / 180.0;
        std::vector<GridPoint> rotated;
        for (const GridPoint& pt : points)
        {
            const double dx = pt.x - 8.0;
            const double dy = pt.y - 8.0;
            rotated.push_back(
                {8.0 + dx * std::cos(dAngle) - dy * std::sin(dAngle),
                 8.0 + dx * std::sin(dAngle) + dy * std::cos(dAngle)}
            );
        }
        return rotated;
    }

    std::vector<GridPoint> Outline(CGalleryArt::Shape shape)
    {
        static const std::vector<GridPoint> PLUS = {{6, 2},   {10, 2}, {10, 6}, {14, 6}, {14, 10}, {10, 10},
                                                    {10, 14}, {6, 14}, {6, 10}, {2, 10}, {2, 6},   {6, 6}};
        switch (shape)
        {
        case CGalleryArt::SHAPE_STAR: {
            std::vector<GridPoint> star;
            for (int i = 0; i < 10; ++i)
            {
                const double dRadius = (i % 2 == 0) ? 7.5 : 3.2;
                const double dAngle = -PI / 2 + i * PI / 5;
                star.push_back({8 + dRadius * std::cos(dAngle), 8.5 + dRadius * std::sin(dAngle)});
            }
            return star;
        }
        case CGalleryArt::SHAPE_PLAY: return {{4, 2}, {14, 8}, {4, 14}};
        case CGalleryArt::SHAPE_SQUARE: return {{3, 3}, {13, 3}, {13, 13}, {3, 13}};
        case CGalleryArt::SHAPE_DIAMOND: return {{8, 1}, {15, 8}, {8, 15}, {1, 8}};
        case CGalleryArt::SHAPE_PLUS: return PLUS;
        case CGalleryArt::SHAPE_CROSS: return Rotated(PLUS, 45);
        case CGalleryArt::SHAPE_PAGE: return {{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}};
        case CGalleryArt::SHAPE_FOLDER: return {{1, 3}, {6, 3}, {7, 5}, {15, 5}, {15, 14}, {1, 14}};
        case CGalleryArt::SHAPE_ARROW: return {{1, 6}, {8, 6}, {8, 2}, {15, 8}, {8, 14}, {8, 10}, {1, 10}};
        case CGalleryArt::SHAPE_TICK: return {{1, 8}, {3, 6}, {6, 9}, {13, 2}, {15, 4}, {6, 13}};
        }
        return {};
    }

    // Fills the shape scaled into rcBox, with a one-pixel outline.
    void DrawShape(CDC& dc, CGalleryArt::Shape shape, const CRect& rcBox, COLORREF crFill, COLORREF crOutline)
    {
        std::vector<POINT> points;
        for (const GridPoint& pt : Outline(shape))
        {
            points.push_back(
                {rcBox.left + static_cast<LONG>(std::lround(pt.x * rcBox.Width() / 16.0)),
                 rcBox.top + static_cast<LONG>(std::lround(pt.y * rcBox.Height() / 16.0))}
            );
        }
        CBrush brush(crFill);
        CPen pen(PS_SOLID, 1, crOutline);
        const ScopedSelect selectBrush(dc, brush);
        const ScopedSelect selectPen(dc, pen);
        ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    }

    // A 32-bit top-down DIB section the caller draws on, its pixels reachable.
    OwnedBitmap CreatePixels(int cx, int cy, DWORD** ppPixels)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        OwnedBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
        *ppPixels = static_cast<DWORD*>(pBits);
        return bitmap;
    }

    // The key colour as a DIB pixel (blue in the low byte).
    const DWORD KEY_PIXEL = (GetRValue(KEY_COLOUR) << 16) | (GetGValue(KEY_COLOUR) << 8) | GetBValue(KEY_COLOUR);

    // A monochrome mask of a keyed picture: white where the key shows.
    OwnedBitmap CreateMaskFromKey(const DWORD* pPixels, int cx, int cy)
    {
        const int nStride = ((cx + 15) / 16) * 2;   // rows of a monochrome bitmap are word-aligned
        std::vector<BYTE> bits(static_cast<size_t>(nStride * cy), 0);
        for (int y = 0; y < cy; ++y)
        {
            for (int x = 0; x < cx; ++x)
            {
                if ((pPixels[y * cx + x] & 0xFFFFFF) == KEY_PIXEL)
                    bits[static_cast<size_t>(y * nStride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
            }
        }
        return OwnedBitmap(::CreateBitmap(cx, cy, 1, 1, bits.data()));
    }

    // Runs draw on a keyed canvas of cx x cy; pPixels then holds the picture.
    template <class TDraw> OwnedBitmap DrawKeyed(int cx, int cy, DWORD** ppPixels, TDraw draw)
    {
        OwnedBitmap bitmap = CreatePixels(cx, cy, ppPixels);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        {
            const ScopedSelect selectBitmap(dc, bitmap.Get());
            dc.FillSolidRect(0, 0, cx, cy, KEY_COLOUR);
            draw(dc);
        }
        ::GdiFlush();
        return bitmap;
    }
}

COLORREF CGalleryArt::Scaled(COLORREF crColour, double dFactor)
{
    auto channel = [dFactor](int nValue) { return static_cast<BYTE>(std::clamp(nValue * dFactor, 0.0, 255.0)); };
    return RGB(channel(GetRValue(crColour)), channel(GetGValue(crColour)), channel(GetBValue(crColour)));
}

OwnedIcon CGalleryArt::MakeButtonIcon(int nSize, COLORREF crDisc, Shape shape)
{
    DWORD* pPixels = nullptr;
    const OwnedBitmap colour = DrawKeyed(nSize, nSize, &pPixels, [&](CDC& dc) {
        CBrush brush(crDisc);
        CPen pen(PS_SOLID, 1, Scaled(crDisc, 0.6));
        {
            const ScopedSelect selectBrush(dc, brush);
            const ScopedSelect selectPen(dc, pen);
            dc.Ellipse(0, 0, nSize, nSize);
        }
        const int nInset = nSize / 4;
        DrawShape(
            dc, shape, CRect(nInset, nInset, nSize - nInset, nSize - nInset), RGB(255, 255, 255), RGB(255, 255, 255)
        );
    });
    const OwnedBitmap mask = CreateMaskFromKey(pPixels, nSize, nSize);
    // Alpha: opaque where drawn, clear (and black) around the disc.
    for (int i = 0; i < nSize * nSize; ++i)
        pPixels[i] = (pPixels[i] & 0xFFFFFF) == KEY_PIXEL ? 0 : (pPixels[i] | 0xFF000000);

    // The icon gets copies of both bitmaps.
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = colour.Get();
    info.hbmMask = mask.Get();
    return OwnedIcon(::CreateIconIndirect(&info));
}

void CGalleryArt::MakeMaskedBitmap(int nSize, COLORREF crShape, Shape shape, HBITMAP& hImage, HBITMAP& hMask)
{
    DWORD* pPixels = nullptr;
    OwnedBitmap image = DrawKeyed(nSize, nSize, &pPixels, [&](CDC& dc) {
        DrawShape(dc, shape, CRect(1, 1, nSize - 1, nSize - 1), crShape, Scaled(crShape, 0.5));
    });
    OwnedBitmap mask = CreateMaskFromKey(pPixels, nSize, nSize);
    // The image is black wherever the mask lets the face show through.
    for (int i = 0; i < nSize * nSize; ++i)
    {
        if ((pPixels[i] & 0xFFFFFF) == KEY_PIXEL)
            pPixels[i] = 0;
    }
    hImage = image.Release();
    hMask = mask.Release();
}

void CGalleryArt::CreateMenuPictureList(CImageList& images)
{
    images.Create(MENU_PICTURE_WIDTH, MENU_PICTURE_HEIGHT, ILC_COLOR24 | ILC_MASK, 4, 4);
}

int CGalleryArt::AddMenuPicture(CImageList& images, COLORREF crShape, Shape shape)
{
    DWORD* pPixels = nullptr;
    OwnedBitmap picture = DrawKeyed(MENU_PICTURE_WIDTH, MENU_PICTURE_HEIGHT, &pPixels, [&](CDC& dc) {
        DrawShape(
            dc, shape, CRect(0, 0, MENU_PICTURE_WIDTH - 1, MENU_PICTURE_HEIGHT - 1), crShape, Scaled(crShape, 0.55)
        );
    });
    CBitmap bitmap;
    bitmap.Attach(picture.Release());
    return images.Add(&bitmap, KEY_COLOUR);
}

void CGalleryArt::PaintBackdrop(CDC* pDC, const CRect& rc)
{
    static const COLORREF BANDS[] = {RGB(32, 96, 160), RGB(48, 144, 112), RGB(224, 176, 48), RGB(208, 80, 64)};
    const int nBand = 14;
    const ScopedSaveDC saveDC(*pDC);
    ::IntersectClipRect(*pDC, rc.left, rc.top, rc.right, rc.bottom);
    for (int nOffset = -rc.Height(), i = 0; nOffset < rc.Width(); nOffset += nBand, ++i)
    {
        CBrush brush(BANDS[i % 4]);
        CPen pen(PS_NULL, 0, 0);
        const ScopedSelect selectBrush(*pDC, brush);
        const ScopedSelect selectPen(*pDC, pen);
        const POINT band[] = {
            {rc.left + nOffset, rc.bottom},
            {rc.left + nOffset + rc.Height(), rc.top},
            {rc.left + nOffset + rc.Height() + nBand + 1, rc.top},
            {rc.left + nOffset + nBand + 1, rc.bottom}};
        ::Polygon(*pDC, band, 4);
    }
}
