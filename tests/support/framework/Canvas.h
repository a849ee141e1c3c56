#pragma once
// What the painting tests share: a 32-bit memory bitmap that a paint goes
// into and is read back from pixel by pixel.
#include <memory>
#include <vector>

#include "framework/DC.h"
#include "framework/IconInfo.h"
#include "framework/ScopedSelect.h"

class Canvas
{
public:
    Canvas(int cx, int cy, COLORREF crFill = RGB(255, 0, 255))
        : m_size(cx, cy)
    {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.Attach(::CreateBitmap(cx, cy, 1, 32, nullptr));
        m_pSelect = std::make_unique<ScopedSelect>(m_dc, m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, crFill);
    }

    CDC& DC() { return m_dc; }
    HDC Dc() const { return m_dc.m_hDC; }
    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }

    // The smallest rectangle holding every pixel of colour cr.
    CRect Bounds(COLORREF cr) const
    {
        CRect rcFound;
        for (int y = 0; y < m_size.cy; ++y)
            for (int x = 0; x < m_size.cx; ++x)
                if (At(x, y) == cr)
                    rcFound.UnionRect(&rcFound, CRect(x, y, x + 1, y + 1));
        return rcFound;
    }

    // What a paint must give back as it found it: the selected objects, the colours and the background mode.
    std::vector<DWORD_PTR> State() const
    {
        const HDC hDC = Dc();
        std::vector<DWORD_PTR> state{::GetTextColor(hDC), ::GetBkColor(hDC), static_cast<DWORD_PTR>(::GetBkMode(hDC))};
        for (const UINT nType : {OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP, OBJ_FONT})
            state.push_back(reinterpret_cast<DWORD_PTR>(::GetCurrentObject(hDC, nType)));
        return state;
    }

private:
    CSize m_size;
    CDC m_dc;
    CBitmap m_bitmap;
    std::unique_ptr<ScopedSelect> m_pSelect;
};

// Whether an icon or cursor handle still lives.
inline bool IconAlive(HICON hIcon)
{
    return CIconInfo().Read(hIcon);
}
