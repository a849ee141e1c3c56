#pragma once
#include "framework/Point.h"
#include "framework/Size.h"

// A RECT with the helpers drawing code expects. Empty means zero or negative
// width or height, as the system's IsRectEmpty says.
class CRect : public RECT
{
public:
    CRect() noexcept { SetRectEmpty(); }
    CRect(int l, int t, int r, int b) noexcept { SetRect(l, t, r, b); }
    CRect(const RECT& rc) noexcept { CopyRect(&rc); }
    CRect(const RECT* lprc) noexcept { CopyRect(lprc); }
    CRect(POINT topLeft, SIZE size) noexcept
    {
        SetRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy);
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const noexcept { return Width() <= 0 || Height() <= 0; }
    bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT pt) const noexcept { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
    bool EqualRect(const RECT* lprc) const noexcept
    {
        return left == lprc->left && top == lprc->top && right == lprc->right && bottom == lprc->bottom;
    }

    void SetRect(int l, int t, int r, int b) noexcept
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* lprc) noexcept { SetRect(lprc->left, lprc->top, lprc->right, lprc->bottom); }

    void OffsetRect(int dx, int dy) noexcept
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT pt) noexcept { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
    void MoveToXY(int x, int y) noexcept { OffsetRect(x - left, y - top); }
    void InflateRect(int dx, int dy) noexcept { InflateRect(dx, dy, dx, dy); }
    void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
    void InflateRect(int l, int t, int r, int b) noexcept
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE size) noexcept { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(int l, int t, int r, int b) noexcept { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect() noexcept
    {
        if (left > right)
        {
            LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom)
        {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }
    // Both return false and leave an empty rectangle when the result is empty.
    bool IntersectRect(const RECT* lprc1, const RECT* lprc2) noexcept
    {
        return ::IntersectRect(this, lprc1, lprc2) != FALSE;
    }
    bool UnionRect(const RECT* lprc1, const RECT* lprc2) noexcept { return ::UnionRect(this, lprc1, lprc2) != FALSE; }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
    bool operator==(const RECT& rc) const noexcept { return EqualRect(&rc); }
    bool operator!=(const RECT& rc) const noexcept { return !EqualRect(&rc); }
};
