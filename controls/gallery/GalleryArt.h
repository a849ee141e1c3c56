#pragma once
// The gallery's pictures, drawn in code: icons, masked bitmaps, menu pictures
// and the backdrop under the see-through button. Every shape is a polygon on a
// 16 x 16 grid, scaled to the size asked for.

#include <windows.h>

#include "base/OwnedHandle.h"

class CDC;
class CImageList;
class CRect;

class CGalleryArt
{
public:
    enum Shape
    {
        SHAPE_STAR,
        SHAPE_PLAY,
        SHAPE_SQUARE,
        SHAPE_DIAMOND,
        SHAPE_PLUS,
        SHAPE_CROSS,
        SHAPE_PAGE,
        SHAPE_FOLDER,
        SHAPE_ARROW,
        SHAPE_TICK,
    };

    // A 32-bit icon with alpha: a disc of crDisc carrying the shape in white.
    static OwnedIcon MakeButtonIcon(int nSize, COLORREF crDisc, Shape shape);
    // A picture for a button's bitmap slot, black around the shape, and its
    // monochrome mask, white around the shape. The caller owns both.
    static void MakeMaskedBitmap(int nSize, COLORREF crShape, Shape shape, HBITMAP& hImage, HBITMAP& hMask);
    // Appends the shape in crShape with a darker outline to a list of menu
    // pictures; returns its index.
    static int AddMenuPicture(CImageList& images, COLORREF crShape, Shape shape);
    // A list of menu pictures of the menus' cell size.
    static void CreateMenuPictureList(CImageList& images);

    // Diagonal colour bands: something to see through.
    static void PaintBackdrop(CDC* pDC, const CRect& rc);

    // crColour with each channel scaled by dFactor (below 1: darker).
    static COLORREF Scaled(COLORREF crColour, double dFactor);
};
