#pragma once
#include <windows.h>

// What GetIconInfo tells of an icon. The two bitmaps it hands out are copies
// that belong to the caller: they are deleted with this object.
struct CIconInfo : ICONINFO
{
    CIconInfo()
        : ICONINFO{}
    {}
    CIconInfo(const CIconInfo&) = delete;
    CIconInfo& operator=(const CIconInfo&) = delete;
    ~CIconInfo()
    {
        if (hbmColor != nullptr)
            ::DeleteObject(hbmColor);
        if (hbmMask != nullptr)
            ::DeleteObject(hbmMask);
    }

    bool Read(HICON hIcon) { return hIcon != nullptr && ::GetIconInfo(hIcon, this) != FALSE; }
};
