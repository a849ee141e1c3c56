#pragma once
#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

// An image list handle wrapper; owns and destroys what it created or attached.
class CImageList
{
public:
    // Data members
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    virtual ~CImageList();

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    // Each returns the new image's index, -1 on failure. The list copies
    // the pictures: the caller keeps its bitmaps and icon.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Remove(int nImage);

    int GetImageCount() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    BOOL GetIconSize(int* cx, int* cy) const;
    // A new icon the caller destroys.
    HICON ExtractIcon(int nImage) const;
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) const;
};
