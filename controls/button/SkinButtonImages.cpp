#include "controls/button/SkinButtonImages.h"

#include <algorithm>
#include <cstring>

#include "framework/Bitmap.h"
#include "framework/ClientDC.h"

namespace
{
    constexpr COLORREF BLACK = RGB(0, 0, 0);

    // The two bitmaps GetIconInfo hands out, deleted with this object.
    struct IconBitmaps : ICONINFO
    {
        IconBitmaps()
            : ICONINFO{}
        {}
        IconBitmaps(const IconBitmaps&) = delete;
        IconBitmaps& operator=(const IconBitmaps&) = delete;
        ~IconBitmaps()
        {
            if (hbmColor != nullptr)
                ::DeleteObject(hbmColor);
            if (hbmMask != nullptr)
                ::DeleteObject(hbmMask);
        }

        bool Read(HICON hIcon) { return hIcon != nullptr && ::GetIconInfo(hIcon, this) != FALSE; }
    };

    // An icon's size in pixels. Taken from its bitmaps rather than from twice its
    // hot spot: the hot spot is the centre only for even sizes.
    bool ReadIconSize(HICON hIcon, DWORD& dwWidth, DWORD& dwHeight)
    {
        IconBitmaps info;
        BITMAP bm{};
        if (!info.Read(hIcon) || ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm) == 0)
            return false;
        dwWidth = static_cast<DWORD>(bm.bmWidth);
        // A monochrome icon stacks its AND and XOR masks in one bitmap.
        dwHeight = static_cast<DWORD>(info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
        return true;
    }

    bool ReadBitmapSize(HBITMAP hBitmap, DWORD& dwWidth, DWORD& dwHeight)
    {
        BITMAP bm{};
        if (::GetObjectA(hBitmap, sizeof bm, &bm) == 0)
            return false;
        dwWidth = static_cast<DWORD>(bm.bmWidth);
        dwHeight = static_cast<DWORD>(bm.bmHeight);
        return true;
    }

    // Luminance of a colour, weighted for the eye's sensitivity to green, red and blue.
    BYTE GrayLevel(COLORREF cr)
    {
        const double dGray = 0.587 * GetGValue(cr) + 0.299 * GetRValue(cr) + 0.114 * GetBValue(cr);
        return static_cast<BYTE>(static_cast<int>(dGray));
    }

    // Takes hHandle into owners unless one of them holds it already.
    template <class TOwned, class THandle> THandle OwnOnce(std::vector<TOwned>& owners, THandle hHandle)
    {
        const bool bOwned = std::any_of(owners.begin(), owners.end(), [hHandle](const TOwned& owner) {
            return owner.Get() == hHandle;
        });
        if (hHandle != nullptr && !bOwned)
            owners.emplace_back(hHandle);
        return hHandle;
    }
}   // namespace

int CSkinButtonImages::SetIcons(HICON hHot, HICON hIdle, CWnd* pWnd)
{
    Clear();
    if (hHot == nullptr)
        return 0;

    m_icons[0].hIcon = OwnIcon(hHot);
    if (!ReadIconSize(hHot, m_icons[0].dwWidth, m_icons[0].dwHeight))
    {
        // The idle icon was handed over as well: it must not leak.
        if (hIdle != AUTO_GRAY_ICON)
            OwnIcon(hIdle);
        Clear();
        return 1;
    }

    if (hIdle != nullptr)
    {
        if (hIdle == AUTO_GRAY_ICON)
            hIdle = MakeGrayIcon(hHot, pWnd);
        m_icons[1].hIcon = OwnIcon(hIdle);
        if (!ReadIconSize(hIdle, m_icons[1].dwWidth, m_icons[1].dwHeight))
        {
            Clear();
            return 1;
        }
    }
    return 0;
}

int CSkinButtonImages::SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask)
{
    Clear();
    if (hHot == nullptr)
        return 0;

    m_bitmaps[0].hBitmap = OwnBitmap(hHot);
    m_bitmaps[0].hMask = OwnBitmap(hHotMask);
    if (hIdle != nullptr)
    {
        m_bitmaps[1].hBitmap = OwnBitmap(hIdle);
        m_bitmaps[1].hMask = OwnBitmap(hIdleMask);
    }
    for (BitmapSlot& slot : m_bitmaps)
    {
        if (slot.hBitmap != nullptr && !ReadBitmapSize(slot.hBitmap, slot.dwWidth, slot.dwHeight))
        {
            Clear();
            return 1;
        }
    }
    return 0;
}

void CSkinButtonImages::Clear()
{
    std::memset(m_icons, 0, sizeof m_icons);
    std::memset(m_bitmaps, 0, sizeof m_bitmaps);
    m_ownedIcons.clear();
    m_ownedBitmaps.clear();
}

HICON CSkinButtonImages::OwnIcon(HICON hIcon)
{
    return OwnOnce(m_ownedIcons, hIcon);
}

HBITMAP CSkinButtonImages::OwnBitmap(HBITMAP hBitmap)
{
    return OwnOnce(m_ownedBitmaps, hBitmap);
}

HICON CSkinButtonImages::MakeGrayIcon(HICON hIcon, CWnd* pWnd)
{
    IconBitmaps source;
    BITMAP bm{};
    if (!source.Read(hIcon) || source.hbmColor == nullptr || ::GetObjectA(source.hbmColor, sizeof bm, &bm) == 0)
        return nullptr;

    // The pixels travel as 32-bit values with their alpha: the system draws an
    // icon that has an alpha channel by that channel alone, so a copy that lost
    // it would show nothing (one opaque black pixel is enough to make it count).
    CClientDC dcButton(pWnd);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    if (dcButton.m_hDC == nullptr ||
        ::GetDIBits(dcButton, source.hbmColor, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS) == 0)
        return nullptr;
    for (DWORD& dwPixel : pixels)
    {
        const COLORREF cr = RGB(dwPixel >> 16 & 0xFF, dwPixel >> 8 & 0xFF, dwPixel & 0xFF);
        if (cr != BLACK)
        {   // black stays black
            const DWORD dwGray = GrayLevel(cr);
            dwPixel = (dwPixel & 0xFF000000) | dwGray << 16 | dwGray << 8 | dwGray;
        }
    }

    CBitmap bmpGray;
    if (!bmpGray.CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 32, pixels.data()))
        return nullptr;
    ICONINFO grayInfo{TRUE, 0, 0, source.hbmMask, static_cast<HBITMAP>(bmpGray.m_hObject)};
    return ::CreateIconIndirect(&grayInfo);
}
