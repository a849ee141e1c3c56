#include "controls/menu/SkinMenuMemDC.h"

CSkinMenuMemDC::CSkinMenuMemDC(CDC* pTargetDC, const CRect& rcArea)
    : m_pTargetDC(pTargetDC),
      m_rcArea(rcArea),
      m_bOffscreen(pTargetDC->GetDeviceCaps(TECHNOLOGY) != DT_RASPRINTER)
{
    if (m_bOffscreen)
    {
        Create(pTargetDC, m_rcArea.Width(), m_rcArea.Height());
        ::SetWindowOrgEx(m_hDC, m_rcArea.left, m_rcArea.top, nullptr);
    }
    else
    {
        m_hDC = pTargetDC->m_hDC;   // borrowed: drawn on directly
    }
}

CSkinMenuMemDC::~CSkinMenuMemDC()
{
    if (m_bOffscreen)
        m_pTargetDC->BitBlt(
            m_rcArea.left, m_rcArea.top, m_rcArea.Width(), m_rcArea.Height(), this, m_rcArea.left, m_rcArea.top, SRCCOPY
        );
    else
        m_hDC = nullptr;   // the target's: not ours to delete
}
