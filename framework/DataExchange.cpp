#include "framework/DataExchange.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;   // bound by an earlier pass
    HWND hWndControl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (hWndControl == nullptr || !rControl.SubclassWindow(hWndControl))
        pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    CWnd* pControl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pControl == nullptr)
    {
        pDX->Fail();
        return;
    }
    if (pDX->m_bSaveAndValidate)
        value = pControl->GetWindowText();
    else
        pControl->SetWindowText(value);
}
