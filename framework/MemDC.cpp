#include "framework/MemDC.h"

CMemDC::~CMemDC()
{
    RestoreFirstBitmap();
}

BOOL CMemDC::Create(CDC* pDC, int cx, int cy)
{
    if (m_hDC != nullptr || !CreateCompatibleDC(pDC))
        return FALSE;
    // Compatible with pDC, not with the new DC, which would make it monochrome.
    if (!m_bitmap.CreateCompatibleBitmap(pDC, cx, cy))
    {
        DeleteDC();
        return FALSE;
    }
    m_hFirstBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    return TRUE;
}

void CMemDC::Release()
{
    RestoreFirstBitmap();
    m_bitmap.DeleteObject();
    DeleteDC();
}

void CMemDC::RestoreFirstBitmap()
{
    if (m_hDC != nullptr && m_hFirstBitmap != nullptr && m_hFirstBitmap != HGDI_ERROR)
        ::SelectObject(m_hDC, m_hFirstBitmap);
    m_hFirstBitmap = nullptr;
}
