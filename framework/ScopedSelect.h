#pragma once
#include <windows.h>
#include "framework/DC.h"

// Selects a GDI object into a DC and selects the previous one back when it
// goes out of scope, so an object is never deleted while still selected.
class ScopedSelect
{
public:
    ScopedSelect(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC),
          m_hOld(::SelectObject(hDC, hObject))
    {}
    ScopedSelect(CDC& dc, CGdiObject& object)
        : ScopedSelect(dc.m_hDC, object.m_hObject)
    {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect()
    {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
    }

    // False when the selection failed (nothing will be restored).
    explicit operator bool() const { return m_hOld != nullptr && m_hOld != HGDI_ERROR; }
    HGDIOBJ Previous() const { return m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
