#pragma once
#include <windows.h>
#include <memory>
#include "base/OwnedHandle.h"
#include "framework/SharedIcon.h"

class CWnd;

// The images of a CSkinButton: a hot and an idle slot, each an icon or a
// bitmap with its monochrome mask. Every handle handed over is owned here and
// destroyed once, also when a caller gives one handle for two slots; a shared
// icon is held together with its other holders.
class CSkinButtonImages
{
public:
    // A bitmap image with its monochrome mask (white where the image is
    // transparent). Owned: each handle by one owner, which two places given
    // the same handle share.
    struct BitmapSlot
    {
        std::shared_ptr<const OwnedBitmap> image;
        std::shared_ptr<const OwnedBitmap> mask;
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;

        HBITMAP Image() const { return image ? image->Get() : nullptr; }
        HBITMAP Mask() const { return mask ? mask->Get() : nullptr; }
    };

    // Replace every image, as CSkinButton::SetIcons, SetIconWithGrayIdle and
    // SetBitmaps describe. pWnd's DC reads the hot icon's pixels for a grey copy.
    int SetIcons(OwnedIcon hot, OwnedIcon idle);
    int SetIconWithGrayIdle(OwnedIcon hot, CWnd* pWnd);
    int SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask);
    // Replaces every image with the icon alone, as CSkinButton::SetIcon
    // describes. False when that icon alone is what the slots hold already.
    bool SetIcon(const SharedIcon& icon);
    // Lets go of every image.
    void Clear();

    // Slot 0 is hot, 1 idle; an empty slot holds null handles.
    const SharedIcon& Icon(int nSlot) const { return m_icons[nSlot]; }
    const BitmapSlot& Bitmap(int nSlot) const { return m_bitmaps[nSlot]; }

private:
    std::shared_ptr<const OwnedBitmap> OwnBitmap(HBITMAP hBitmap) const;
    static HICON MakeGrayIcon(HICON hIcon, CWnd* pWnd);

    SharedIcon m_icons[2];   // shared with the icon's other holders
    BitmapSlot m_bitmaps[2];   // owned
};
