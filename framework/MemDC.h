#pragma once
#include "framework/DC.h"

// A memory DC with a bitmap of its own selected. The bitmap the DC started
// with is kept as a handle and selected back before m_bitmap is deleted, so
// the bitmap is never deleted while still selected; the DC goes last, with
// the base class.
class CMemDC : public CDC
{
public:
    CMemDC() = default;
    ~CMemDC() override;

    // Creates the DC and a cx x cy bitmap, both compatible with pDC, and
    // selects the bitmap. FALSE (and nothing held) on failure or when the
    // object holds a DC already.
    BOOL Create(CDC* pDC, int cx, int cy);
    // Selects the first bitmap back, then deletes the bitmap and the DC.
    void Release();

private:
    void RestoreFirstBitmap();

    CBitmap m_bitmap;
    HGDIOBJ m_hFirstBitmap = nullptr;
};
