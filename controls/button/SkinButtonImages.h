#pragma once
#include <windows.h>
#include <vector>
#include "framework/OwnedHandle.h"

class CWnd;

// The images of a CSkinButton: a hot and an idle slot, each an icon or a
// bitmap with its monochrome mask. Every handle handed over is owned here and
// destroyed once, also when a caller gives one handle for two slots.
class CSkinButtonImages
{
public:
    // Passed as the idle icon: the idle icon becomes a grey copy of the hot one.
    static inline const HICON AUTO_GRAY_ICON = reinterpret_cast<HICON>(static_cast<INT_PTR>(-2));

    struct IconSlot
    {
        HICON hIcon;
        DWORD dwWidth;
        DWORD dwHeight;
    };

    struct BitmapSlot
    {
        HBITMAP hBitmap;
        DWORD dwWidth;
        DWORD dwHeight;
        HBITMAP hMask;   // monochrome: white where the image is transparent
    };

    // Replace every image, as CSkinButton::SetIcons and SetBitmaps describe.
    // pWnd's DC reads the hot icon's pixels for a grey copy.
    int SetIcons(HICON hHot, HICON hIdle, CWnd* pWnd);
    int SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask);
    // Destroys every image.
    void Clear();

    // Slot 0 is hot, 1 idle; an empty slot holds null handles.
    const IconSlot& Icon(int nSlot) const { return m_icons[nSlot]; }
    const BitmapSlot& Bitmap(int nSlot) const { return m_bitmaps[nSlot]; }

private:
    HICON OwnIcon(HICON hIcon);
    HBITMAP OwnBitmap(HBITMAP hBitmap);
    static HICON MakeGrayIcon(HICON hIcon, CWnd* pWnd);

    IconSlot m_icons[2] = {};
    BitmapSlot m_bitmaps[2] = {};
    // The owners of the handles in the slots, one per distinct handle.
    std::vector<OwnedIcon> m_ownedIcons;
    std::vector<OwnedBitmap> m_ownedBitmaps;
};
