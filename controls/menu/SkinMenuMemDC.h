#pragma once
// Off-screen DC for one menu item: drawing goes to a bitmap in the target's
// coordinates and is copied to the target at destruction. On a printer the
// target itself is drawn on.

#include "framework/MemDC.h"

class CSkinMenuMemDC : public CMemDC
{
public:
    CSkinMenuMemDC(CDC* pTargetDC, const CRect& rcArea);
    ~CSkinMenuMemDC() override;

private:
    CDC* m_pTargetDC;
    CRect m_rcArea;
    BOOL m_bOffscreen;
};
