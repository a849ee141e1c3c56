#pragma once
#include <windows.h>

#include <memory>

#include "base/OwnedHandle.h"

// An icon with its size in pixels, held by everyone who shows it and destroyed
// when the last holder lets go. A picture cache and the buttons that show its
// pictures share one handle this way: showing a picture again costs neither a
// copy of the icon nor another look at its bitmaps.
class SharedIcon
{
public:
    SharedIcon() = default;

    // Takes hIcon over and reads its size from its bitmaps (not from twice its
    // hot spot, which is the centre only for even sizes). Empty, with hIcon
    // destroyed, when the system cannot read the icon; empty for NULL.
    static SharedIcon Adopt(HICON hIcon);
    // Takes hIcon over with the size its maker knows (the header it was
    // decoded from); empty for NULL.
    static SharedIcon Adopt(HICON hIcon, DWORD dwWidth, DWORD dwHeight);

    HICON Handle() const { return m_pHeld ? m_pHeld->icon.Get() : nullptr; }
    DWORD Width() const { return m_pHeld ? m_pHeld->dwWidth : 0; }
    DWORD Height() const { return m_pHeld ? m_pHeld->dwHeight : 0; }
    explicit operator bool() const { return m_pHeld != nullptr; }

    // The same icon, not merely an icon of the same picture.
    bool operator==(const SharedIcon& other) const { return m_pHeld == other.m_pHeld; }

private:
    struct Held
    {
        OwnedIcon icon;
        DWORD dwWidth;
        DWORD dwHeight;
    };

    std::shared_ptr<const Held> m_pHeld;
};
