#pragma once
#include <windows.h>

// A SIZE with value semantics.
class CSize : public SIZE
{
public:
    CSize() noexcept
    {
        cx = 0;
        cy = 0;
    }
    CSize(int initCX, int initCY) noexcept
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE size) noexcept
    {
        cx = size.cx;
        cy = size.cy;
    }

    void SetSize(int CX, int CY) noexcept
    {
        cx = CX;
        cy = CY;
    }

    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const noexcept { return !(*this == size); }
    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
};
