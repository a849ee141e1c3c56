#pragma once
// How an icon looks, for tests that compare icons made in different ways.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/SharedIcon.h"
#include "tests/support/PixelImage.h"

// How an icon looks drawn on a white and on a black ground, with the size it
// is said to have: colours, mask and alpha all show in it.
struct IconLook
{
    DWORD dwWidth = 0, dwHeight = 0;
    std::vector<COLORREF> pixels;
    bool operator==(const IconLook&) const = default;
};

inline IconLook LookOf(const SharedIcon& icon)
{
    IconLook look{icon.Width(), icon.Height(), {}};
    if (!icon)
        return look;
    for (COLORREF crGround : {RGB(255, 255, 255), RGB(0, 0, 0)})
    {
        const PixelImage image = PixelImage::IconOnFace(icon.Handle(), int(look.dwWidth), int(look.dwHeight), crGround);
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                look.pixels.push_back(image.At(x, y));
    }
    return look;
}

// What LoadImage makes of the file, with the size its bitmaps have.
inline IconLook LoadImageLook(const std::wstring& strPath)
{
    SharedIcon icon =
        SharedIcon::Adopt(static_cast<HICON>(LoadImageW(nullptr, strPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    return LookOf(icon);
}
