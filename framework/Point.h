#pragma once
#include <windows.h>

// A POINT with the helpers dialog code expects.
class CPoint : public POINT
{
public:
    CPoint() noexcept
    {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY) noexcept
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT pt) noexcept
    {
        x = pt.x;
        y = pt.y;
    }
    // Unpacks the signed 16-bit coordinates of a mouse message's lParam.
    explicit CPoint(LPARAM dwPoint) noexcept
    {
        x = static_cast<short>(LOWORD(dwPoint));
        y = static_cast<short>(HIWORD(dwPoint));
    }

    void Offset(int xOffset, int yOffset) noexcept
    {
        x += xOffset;
        y += yOffset;
    }
    void SetPoint(int X, int Y) noexcept
    {
        x = X;
        y = Y;
    }

    bool operator==(POINT pt) const noexcept { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const noexcept { return !(*this == pt); }
    CPoint operator+(POINT pt) const noexcept { return CPoint(x + pt.x, y + pt.y); }
    CPoint operator-(POINT pt) const noexcept { return CPoint(x - pt.x, y - pt.y); }
    CPoint& operator+=(POINT pt) noexcept
    {
        x += pt.x;
        y += pt.y;
        return *this;
    }
    CPoint& operator-=(POINT pt) noexcept
    {
        x -= pt.x;
        y -= pt.y;
        return *this;
    }
};
