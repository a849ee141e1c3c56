#include "controls/button/SkinButtonImages.h"

#include <utility>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/ClientDC.h"
#include "framework/IconInfo.h"

namespace
{
    constexpr COLORREF BLACK = RGB(0, 0, 0);

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
}   // namespace

int CSkinButtonImages::SetIcons(OwnedIcon hot, OwnedIcon idle)
{
    Clear();
    if (!hot)
        return 0;

    // Both icons are taken over before either is looked at, so that a failure
    // leaves neither behind.
    const bool bIdle = static_cast<bool>(idle);
    const SharedIcon hotIcon = SharedIcon::Adopt(hot.Release());
    const SharedIcon idleIcon = SharedIcon::Adopt(idle.Release());
    if (!hotIcon || (bIdle && !idleIcon))
        return 1;
    m_icons[0] = hotIcon;
    m_icons[1] = idleIcon;
    return 0;
}

// A grey copy that cannot be made fails like an unreadable idle icon.
int CSkinButtonImages::SetIconWithGrayIdle(OwnedIcon hot, CWnd* pWnd)
{
    OwnedIcon gray(hot ? MakeGrayIcon(hot.Get(), pWnd) : nullptr);
    if (hot && !gray)
    {
        Clear();
        return 1;
    }
    return SetIcons(std::move(hot), std::move(gray));
}

bool CSkinButtonImages::SetIcon(const SharedIcon& icon)
{
    if (m_icons[0] == icon && !m_icons[1] && !m_bitmaps[0].image)
        return false;
    Clear();
    m_icons[0] = icon;
    return true;
}

int CSkinButtonImages::SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask)
{
    Clear();
    if (hHot == nullptr)
        return 0;

    // Every handle is taken over before any is looked at, so that a failure
    // leaves none behind.
    m_bitmaps[0].image = OwnBitmap(hHot);
    m_bitmaps[0].mask = OwnBitmap(hHotMask);
    m_bitmaps[1].image = OwnBitmap(hIdle);
    m_bitmaps[1].mask = OwnBitmap(hIdleMask);
    for (BitmapSlot& slot : m_bitmaps)
    {
        if (slot.image && !ReadBitmapSize(slot.Image(), slot.dwWidth, slot.dwHeight))
        {
            Clear();
            return 1;
        }
    }
    return 0;
}

void CSkinButtonImages::Clear()
{
    m_icons[0] = SharedIcon();
    m_icons[1] = SharedIcon();
    m_bitmaps[0] = BitmapSlot();
    m_bitmaps[1] = BitmapSlot();
}

// The owner of hBitmap: the one a slot holds already when the caller gave the
// handle twice, else a new one; none for NULL.
std::shared_ptr<const OwnedBitmap> CSkinButtonImages::OwnBitmap(HBITMAP hBitmap) const
{
    if (hBitmap == nullptr)
        return nullptr;
    for (const BitmapSlot& slot : m_bitmaps)
    {
        for (const std::shared_ptr<const OwnedBitmap>& pOwner : {slot.image, slot.mask})
        {
            if (pOwner && pOwner->Get() == hBitmap)
                return pOwner;
        }
    }
    return std::make_shared<const OwnedBitmap>(hBitmap);
}

HICON CSkinButtonImages::MakeGrayIcon(HICON hIcon, CWnd* pWnd)
{
    CIconInfo source;
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
