#pragma once
#include "framework/Bitmap.h"

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

    BOOL CreateSolidBrush(COLORREF crColor) { return AttachCreated(::CreateSolidBrush(crColor)); }
    // The brush keeps its own copy of the pattern: the bitmap may be deleted after.
    BOOL CreatePatternBrush(CBitmap* pBitmap)
    {
        return pBitmap != nullptr &&
               AttachCreated(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->GetSafeHandle())));
    }
    BOOL CreateSysColorBrush(int nIndex) { return AttachCreated(::CreateSolidBrush(::GetSysColor(nIndex))); }

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH hBrush) { return GdiObjectFromHandle<CBrush>(hBrush); }
};
