#include "tests/support/PixelImage.h"

#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace
{
    bool Near(COLORREF a, COLORREF b, int nTolerance)
    {
        return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
               std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
               std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
    }

    // A 32-bit top-down DIB section selected into a memory DC for the life of the object.
    class DibCanvas
    {
    public:
        DibCanvas(int nWidth, int nHeight)
            : m_hdc(CreateCompatibleDC(nullptr))
        {
            BITMAPINFO bi = {};
            bi.bmiHeader.biSize = sizeof bi.bmiHeader;
            bi.bmiHeader.biWidth = nWidth;
            bi.bmiHeader.biHeight = -nHeight;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            bi.bmiHeader.biCompression = BI_RGB;
            m_hBitmap = CreateDIBSection(m_hdc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
            if (!m_hBitmap)
            {
                DeleteDC(m_hdc);
                throw std::runtime_error("cannot create a DIB section");
            }
            m_hOld = SelectObject(m_hdc, m_hBitmap);
        }
        ~DibCanvas()
        {
            SelectObject(m_hdc, m_hOld);
            DeleteObject(m_hBitmap);
            DeleteDC(m_hdc);
        }
        DibCanvas(const DibCanvas&) = delete;
        DibCanvas& operator=(const DibCanvas&) = delete;

        HDC Dc() const { return m_hdc; }
        // Pixels as 0x00RRGGBB in memory order B, G, R, X.
        const DWORD* Bits() const
        {
            GdiFlush();
            return m_pBits;
        }

    private:
        HDC m_hdc;
        HBITMAP m_hBitmap = nullptr;
        HGDIOBJ m_hOld = nullptr;
        DWORD* m_pBits = nullptr;
    };
}

PixelImage::PixelImage(int nWidth, int nHeight, COLORREF crFill)
    : m_nWidth(nWidth),
      m_nHeight(nHeight),
      m_pixels(static_cast<size_t>(nWidth) * nHeight, crFill)
{}

PixelImage PixelImage::FromDc(HDC hdc, int nWidth, int nHeight)
{
    PixelImage img(nWidth, nHeight, 0);
    DibCanvas canvas(nWidth, nHeight);
    BitBlt(canvas.Dc(), 0, 0, nWidth, nHeight, hdc, 0, 0, SRCCOPY);
    const DWORD* pBits = canvas.Bits();
    for (size_t i = 0; i < img.m_pixels.size(); ++i)
    {
        DWORD dw = pBits[i];
        img.m_pixels[i] = RGB((dw >> 16) & 0xFF, (dw >> 8) & 0xFF, dw & 0xFF);
    }
    return img;
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
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    PixelImage img = FromDc(hdc, bm.bmWidth, bm.bmHeight);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(hBitmap);
    return img;
}

PixelImage PixelImage::FromBitmapFile(const std::wstring& strPath)
{
    auto hBitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, FileSystem::Openable(strPath).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)
    );
    if (!hBitmap)
        throw std::runtime_error("cannot load bitmap " + Text::ToUtf8(strPath));
    return FromBitmap(hBitmap);
}

PixelImage PixelImage::FromBitmapResource(const std::wstring& strModule, int nId)
{
    HMODULE hModule = LoadLibraryExW(strModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hModule)
        throw std::runtime_error("cannot open " + Text::ToUtf8(strModule));
    auto hBitmap = static_cast<HBITMAP>(LoadImageW(hModule, MAKEINTRESOURCEW(nId), IMAGE_BITMAP, 0, 0, 0));
    FreeLibrary(hModule);
    if (!hBitmap)
        throw std::runtime_error("no bitmap resource " + std::to_string(nId) + " in " + Text::ToUtf8(strModule));
    return FromBitmap(hBitmap);
}

PixelImage PixelImage::IconOnFace(HICON hIcon, int nWidth, int nHeight, COLORREF crBack)
{
    ICONINFO ii = {};
    GetIconInfo(hIcon, &ii);
    BITMAP bm = {};
    GetObjectW(ii.hbmMask, sizeof bm, &bm);
    int cxIcon = bm.bmWidth;
    int cyIcon = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    DeleteObject(ii.hbmMask);
    if (ii.hbmColor)
        DeleteObject(ii.hbmColor);
    if (nWidth == 0 && nHeight == 0)
    {
        nWidth = cxIcon;
        nHeight = cyIcon;
    }

    DibCanvas canvas(nWidth, nHeight);
    HBRUSH hBrush = CreateSolidBrush(crBack);
    RECT rc = {0, 0, nWidth, nHeight};
    FillRect(canvas.Dc(), &rc, hBrush);
    DeleteObject(hBrush);
    DrawIconEx(
        canvas.Dc(), (nWidth - cxIcon) / 2, (nHeight - cyIcon) / 2, hIcon, cxIcon, cyIcon, 0, nullptr, DI_NORMAL
    );
    return FromDc(canvas.Dc(), nWidth, nHeight);
}

PixelImage PixelImage::IconOnFace(const std::wstring& strIconPath, int nWidth, int nHeight, COLORREF crBack)
{
    auto hIcon = static_cast<HICON>(
        LoadImageW(nullptr, FileSystem::Openable(strIconPath).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)
    );
    if (!hIcon)
        throw std::runtime_error("cannot load icon " + Text::ToUtf8(strIconPath));
    PixelImage img = IconOnFace(hIcon, nWidth, nHeight, crBack);
    DestroyIcon(hIcon);
    return img;
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

void PixelImage::SaveBmp(const std::wstring& strPath) const
{
    int nStride = (m_nWidth * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = m_nWidth;
    ih.biHeight = m_nHeight;   // bottom-up
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = static_cast<DWORD>(nStride) * m_nHeight;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;

    std::vector<unsigned char> bytes(fh.bfSize);
    memcpy(bytes.data(), &fh, sizeof fh);
    memcpy(bytes.data() + sizeof fh, &ih, sizeof ih);
    for (int y = 0; y < m_nHeight; ++y)
    {
        unsigned char* pRow = bytes.data() + fh.bfOffBits + static_cast<size_t>(m_nHeight - 1 - y) * nStride;
        for (int x = 0; x < m_nWidth; ++x)
        {
            COLORREF cr = At(x, y);
            pRow[x * 3] = GetBValue(cr);
            pRow[x * 3 + 1] = GetGValue(cr);
            pRow[x * 3 + 2] = GetRValue(cr);
        }
    }
    FileSystem::WriteBytes(strPath, bytes);
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
