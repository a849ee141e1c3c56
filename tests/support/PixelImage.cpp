#include "tests/support/PixelImage.h"

#include "base/OwnedHandle.h"
#include "framework/IconInfo.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"
#include "tests/support/framework/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace
{
    bool Near(COLORREF a, COLORREF b, int nTolerance)
    {
        return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
               std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
               std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
    }
}

PixelImage::PixelImage(int nWidth, int nHeight, COLORREF crFill)
    : m_nWidth(nWidth),
      m_nHeight(nHeight),
      m_pixels(static_cast<size_t>(nWidth) * nHeight, crFill)
{}

PixelImage PixelImage::FromDc(HDC hdc, int nWidth, int nHeight)
{
    CDC memory;
    CBitmap bitmap;
    memory.Attach(::CreateCompatibleDC(hdc));
    bitmap.Attach(::CreateCompatibleBitmap(hdc, nWidth, nHeight));
    {
        const ScopedSelect select(memory, bitmap);
        ::BitBlt(memory, 0, 0, nWidth, nHeight, hdc, 0, 0, SRCCOPY);
    }
    return FromBitmap(bitmap);
}

PixelImage PixelImage::GrabClient(HWND hWnd)
{
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    HDC hdc = GetDC(hWnd);
    if (!hdc)
        throw std::runtime_error("GetDC failed on the window to grab");
    PixelImage img = FromDc(hdc, rc.right, rc.bottom);
    ReleaseDC(hWnd, hdc);
    return img;
}

PixelImage PixelImage::FromBitmap(HBITMAP hBitmap)
{
    BITMAP bm = {};
    GetObjectW(hBitmap, sizeof bm, &bm);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> bits(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    if (GetDIBits(dc, hBitmap, 0, bm.bmHeight, bits.data(), &bi, DIB_RGB_COLORS) != bm.bmHeight)
        throw std::runtime_error("cannot read the pixels of a bitmap");
    PixelImage img(bm.bmWidth, bm.bmHeight, 0);
    std::transform(bits.begin(), bits.end(), img.m_pixels.begin(), [](DWORD dw) {
        return RGB((dw >> 16) & 0xFF, (dw >> 8) & 0xFF, dw & 0xFF);
    });
    return img;
}

PixelImage PixelImage::FromBitmapFile(const std::wstring& strPath)
{
    const OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, FileSystem::Openable(strPath).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)
    ));
    if (!bitmap)
        throw std::runtime_error("cannot load bitmap " + Text::ToUtf8(strPath));
    return FromBitmap(bitmap.Get());
}

PixelImage PixelImage::FromBitmapResource(const std::wstring& strModule, int nId)
{
    const OwnedModule module(LoadLibraryExW(strModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        throw std::runtime_error("cannot open " + Text::ToUtf8(strModule));
    const OwnedBitmap bitmap(static_cast<HBITMAP>(LoadImageW(module.Get(), MAKEINTRESOURCEW(nId), IMAGE_BITMAP, 0, 0, 0)
    ));
    if (!bitmap)
        throw std::runtime_error("no bitmap resource " + std::to_string(nId) + " in " + Text::ToUtf8(strModule));
    return FromBitmap(bitmap.Get());
}

PixelImage PixelImage::IconOnFace(HICON hIcon, int nWidth, int nHeight, COLORREF crBack)
{
    CIconInfo info;
    BITMAP bm = {};
    if (!info.Read(hIcon) || !GetObjectW(info.hbmMask, sizeof bm, &bm))
        throw std::runtime_error("an icon that cannot be read");
    const int cxIcon = bm.bmWidth;
    const int cyIcon = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (nWidth == 0 && nHeight == 0)
    {
        nWidth = cxIcon;
        nHeight = cyIcon;
    }
    Canvas canvas(nWidth, nHeight, crBack);
    DrawIconEx(
        canvas.Dc(), (nWidth - cxIcon) / 2, (nHeight - cyIcon) / 2, hIcon, cxIcon, cyIcon, 0, nullptr, DI_NORMAL
    );
    return FromDc(canvas.Dc(), nWidth, nHeight);
}

PixelImage PixelImage::IconOnFace(const std::wstring& strIconPath, int nWidth, int nHeight, COLORREF crBack)
{
    const OwnedIcon icon(static_cast<HICON>(
        LoadImageW(nullptr, FileSystem::Openable(strIconPath).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)
    ));
    if (!icon)
        throw std::runtime_error("cannot load icon " + Text::ToUtf8(strIconPath));
    return IconOnFace(icon.Get(), nWidth, nHeight, crBack);
}

COLORREF PixelImage::At(int x, int y) const
{
    return m_pixels[static_cast<size_t>(y) * m_nWidth + x];
}

PixelImage PixelImage::Crop(const RECT& rc) const
{
    PixelImage img(rc.right - rc.left, rc.bottom - rc.top, 0);
    for (int y = 0; y < img.m_nHeight; ++y)
        for (int x = 0; x < img.m_nWidth; ++x)
            img.m_pixels[static_cast<size_t>(y) * img.m_nWidth + x] =
                Contains(rc.left + x, rc.top + y) ? At(rc.left + x, rc.top + y) : 0;
    return img;
}

PixelImage PixelImage::Tile(int nWidth, int nHeight) const
{
    PixelImage img(nWidth, nHeight, 0);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            img.m_pixels[static_cast<size_t>(y) * nWidth + x] = At(x % m_nWidth, y % m_nHeight);
    return img;
}

double PixelImage::Match(const PixelImage& other, int nTolerance, const std::vector<RECT>& ignored) const
{
    if (other.m_nWidth != m_nWidth || other.m_nHeight != m_nHeight)
        throw std::invalid_argument("comparing images of different sizes");
    size_t nCompared = 0;
    size_t nSame = 0;
    for (int y = 0; y < m_nHeight; ++y)
        for (int x = 0; x < m_nWidth; ++x)
        {
            POINT pt = {x, y};
            if (std::any_of(ignored.begin(), ignored.end(), [&](const RECT& rc) { return PtInRect(&rc, pt) != FALSE; }))
                continue;
            ++nCompared;
            nSame += Near(At(x, y), other.At(x, y), nTolerance);
        }
    return nCompared ? static_cast<double>(nSame) / nCompared : 1.0;
}

double PixelImage::Share(COLORREF cr, int nTolerance) const
{
    if (m_pixels.empty())
        return 0.0;
    size_t nSame = 0;
    for (COLORREF px : m_pixels)
        nSame += Near(px, cr, nTolerance);
    return static_cast<double>(nSame) / m_pixels.size();
}

PixelImage::Colour PixelImage::MeanColour() const
{
    Colour sum = {0, 0, 0};
    for (COLORREF cr : m_pixels)
    {
        sum.r += GetRValue(cr);
        sum.g += GetGValue(cr);
        sum.b += GetBValue(cr);
    }
    const double n = static_cast<double>(std::max<size_t>(m_pixels.size(), 1));
    return {sum.r / n, sum.g / n, sum.b / n};
}

double PixelImage::MeanChroma() const
{
    double dSum = 0;
    for (COLORREF cr : m_pixels)
        dSum += std::max({GetRValue(cr), GetGValue(cr), GetBValue(cr)}) -
                std::min({GetRValue(cr), GetGValue(cr), GetBValue(cr)});
    return dSum / static_cast<double>(std::max<size_t>(m_pixels.size(), 1));
}

double PixelImage::MeanDifference(const PixelImage& other) const
{
    const int nWidth = std::min(m_nWidth, other.m_nWidth);
    const int nHeight = std::min(m_nHeight, other.m_nHeight);
    double dSum = 0;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            const COLORREF p = At(x, y), q = other.At(x, y);
            dSum += std::abs(GetRValue(p) - GetRValue(q)) + std::abs(GetGValue(p) - GetGValue(q)) +
                    std::abs(GetBValue(p) - GetBValue(q));
        }
    return dSum / (3.0 * std::max(nWidth * nHeight, 1));
}
