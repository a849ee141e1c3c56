#include "framework/Bitmap.h"
#include "framework/Afx.h"
#include "framework/DC.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hInstance = AfxFindResourceHandle(lpszName, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    return AttachCreated(::LoadBitmapA(hInstance, lpszName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return pDC != nullptr && AttachCreated(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return AttachCreated(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
