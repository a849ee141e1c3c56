#pragma once
// How an icon looks, for tests that compare icons made in different ways.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/SharedIcon.h"

// How an icon looks drawn on a white and on a black ground, with its size:
// colours, mask and alpha all show in it.
struct IconLook
{
    DWORD dwWidth = 0, dwHeight = 0;
    std::vector<DWORD> pixels;
    bool operator==(const IconLook&) const = default;
};

inline IconLook LookOf(HICON hIcon, DWORD dwWidth, DWORD dwHeight)
{
    IconLook look{dwWidth, dwHeight, {}};
    if (hIcon == nullptr)
        return look;
    const int cx = int(dwWidth), cy = int(dwHeight);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP hDib = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = SelectObject(hdc, hDib);
    for (int nGround : {WHITE_BRUSH, BLACK_BRUSH})
    {
        RECT rc{0, 0, cx, cy};
        FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(nGround)));
        DrawIconEx(hdc, 0, 0, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const auto* pPixels = static_cast<const DWORD*>(pBits);
        look.pixels.insert(look.pixels.end(), pPixels, pPixels + cx * cy);
    }
    SelectObject(hdc, hOld);
    DeleteObject(hDib);
    DeleteDC(hdc);
    return look;
}

inline IconLook LookOf(const SharedIcon& icon)
{
    return LookOf(icon.Handle(), icon.Width(), icon.Height());
}

// What LoadImage makes of the file, with the size its bitmaps have.
inline IconLook LoadImageLook(const std::wstring& strPath)
{
    SharedIcon icon =
        SharedIcon::Adopt(static_cast<HICON>(LoadImageW(nullptr, strPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    return LookOf(icon);
}
