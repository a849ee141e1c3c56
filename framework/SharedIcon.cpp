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
    SharedIcon shared;
    if (ReadIconSize(hIcon, dwWidth, dwHeight))
        shared.m_pHeld = std::make_shared<Held>(Held{std::move(icon), dwWidth, dwHeight});
    return shared;
}
