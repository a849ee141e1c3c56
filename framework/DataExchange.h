#pragma once
#include <string>
#include "framework/Wnd.h"

// The direction and the dialog of one UpdateData pass.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate),
          m_pDlgWnd(pDlgWnd)
    {}

    // Marks the pass as failed (UpdateData then returns FALSE).
    void Fail() { m_bFailed = true; }
    bool Failed() const { return m_bFailed; }

    // Data members
    BOOL m_bSaveAndValidate;   // TRUE: controls -> members
    CWnd* m_pDlgWnd;

private:
    bool m_bFailed = false;
};

// Binds rControl to the dialog's control nIDC by subclassing it
// (PreSubclassWindow runs first), once; later passes leave the binding alone.
// A missing control fails the pass.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Exchanges the text of control nIDC with value (ANSI code page).
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
