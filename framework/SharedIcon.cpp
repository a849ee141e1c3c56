#include "framework/SharedIcon.h"

#include "framework/IconInfo.h"

namespace
{
    bool ReadIconSize(HICON hIcon, DWORD& dwWidth, DWORD& dwHeight)
    {
        CIconInfo info;
        BITMAP bm{};
        if (!info.Read(hIcon) || ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm) == 0)
            return false;
        dwWidth = static_cast<DWORD>(bm.bmWidth);
        // A monochrome icon stacks its AND and XOR masks in one bitmap.
        dwHeight = static_cast<DWORD>(info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
        return true;
    }
}   // namespace

SharedIcon SharedIcon::Adopt(HICON hIcon)
{
    OwnedIcon icon(hIcon);
    DWORD dwWidth = 0, dwHeight = 0;
    return ReadIconSize(hIcon, dwWidth, dwHeight) ? Adopt(icon.Release(), dwWidth, dwHeight) : SharedIcon();
}

SharedIcon SharedIcon::Adopt(HICON hIcon, DWORD dwWidth, DWORD dwHeight)
{
    SharedIcon shared;
    if (hIcon != nullptr)
        shared.m_pHeld = std::make_shared<Held>(Held{OwnedIcon(hIcon), dwWidth, dwHeight});
    return shared;
}
