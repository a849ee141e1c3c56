#pragma once
#include "framework/GdiObject.h"

class CFont : public CGdiObject
{
public:
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return AttachCreated(::CreateFontIndirectA(lpLogFont)); }
    BOOL CreateFontIndirectW(const LOGFONTW* lpLogFont) { return AttachCreated(::CreateFontIndirectW(lpLogFont)); }
    int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }

    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT hFont) { return GdiObjectFromHandle<CFont>(hFont); }
};
