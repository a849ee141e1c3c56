#include "framework/Dialog.h"
#include "framework/Afx.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"

#include <cstring>
#include <vector>

namespace
{
    // A copy of a dialog template with WS_VISIBLE taken out of the dialog's
    // style: the dialog manager shows a WS_VISIBLE dialog as soon as
    // WM_INITDIALOG returns. The style is the first field of a plain template
    // and lies 12 bytes in (after version, signature, help id and extended
    // style) in an extended one, whose signature is 0xFFFF. DWORDs keep the
    // copy aligned as the dialog manager requires.
    std::vector<DWORD> HiddenCopy(const void* pTemplate, DWORD cbTemplate)
    {
        std::vector<DWORD> copy((cbTemplate + sizeof(DWORD) - 1) / sizeof(DWORD));
        std::memcpy(copy.data(), pTemplate, cbTemplate);
        if (cbTemplate < sizeof(DLGTEMPLATE))
            return copy;
        WORD wSignature;
        std::memcpy(&wSignature, reinterpret_cast<const BYTE*>(copy.data()) + 2, sizeof wSignature);
        BYTE* pStyle = reinterpret_cast<BYTE*>(copy.data()) + (wSignature == 0xFFFF ? 12 : 0);
        DWORD dwStyle;
        std::memcpy(&dwStyle, pStyle, sizeof dwStyle);
        dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
        std::memcpy(pStyle, &dwStyle, sizeof dwStyle);
        return copy;
    }
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate),
      m_pParentWnd(pParentWnd)
{}

const MessageMap* CDialog::GetThisMessageMap()
{
    static const MessageMap map(
        CWnd::GetThisMessageMap(),
        {
            OnBnClicked(IDOK, &CDialog::OnOK),
            OnBnClicked(IDCANCEL, &CDialog::OnCancel),
        }
    );
    return &map;
}

const MessageMap* CDialog::GetMessageMap() const
{
    return GetThisMessageMap();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = dynamic_cast<CDialog*>(FromHandlePermanent(hWnd));
    if (pDialog == nullptr)
        return TRUE;
    // This runs inside the system's dialog procedure: nothing may escape.
    try
    {
        return pDialog->OnInitDialog();
    }
    catch (...)
    {
        return TRUE;
    }
}

BOOL CDialog::CreateFromTemplate(HWND hWndOwner, bool bHidden)
{
    if (m_hWnd != nullptr)
        return FALSE;
    LPCSTR lpszName = MAKEINTRESOURCEA(m_nIDTemplate);
    HINSTANCE hInstance = AfxFindResourceHandle(lpszName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HRSRC hResource = ::FindResourceA(hInstance, lpszName, MAKEINTRESOURCEA(5));
    HGLOBAL hTemplate = hResource != nullptr ? ::LoadResource(hInstance, hResource) : nullptr;
    auto* pTemplate = hTemplate != nullptr ? static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate)) : nullptr;
    if (pTemplate == nullptr)
        return FALSE;
    std::vector<DWORD> hiddenTemplate;
    if (bHidden)
    {
        hiddenTemplate = HiddenCopy(pTemplate, ::SizeofResource(hInstance, hResource));
        pTemplate = reinterpret_cast<LPCDLGTEMPLATEW>(hiddenTemplate.data());
    }

    // The hook binds the dialog window to this object before its first
    // message, so the whole creation already runs through our maps.
    HookCreation();
    HWND hWnd = ::CreateDialogIndirectParamW(hInstance, pTemplate, hWndOwner, &CDialog::DialogProc, 0);
    UnhookCreation();
    if (hWnd == nullptr)
        return FALSE;
    if (m_hWnd != hWnd)
    {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = false;
    return CreateFromTemplate(pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, false);
}

HWND CDialog::FindOwnerForModal() const
{
    HWND hWndOwner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    if (hWndOwner == nullptr)
    {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != nullptr && pMainWnd != this)
            hWndOwner = pMainWnd->m_hWnd;
    }
    // A child window cannot own a dialog: take its top-level window.
    while (hWndOwner != nullptr && (::GetWindowLongW(hWndOwner, GWL_STYLE) & WS_CHILD) != 0)
        hWndOwner = ::GetParent(hWndOwner);
    return hWndOwner;
}

INT_PTR CDialog::DoModal()
{
    HWND hWndOwner = FindOwnerForModal();
    const bool bDisableOwner = hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner);
    if (bDisableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    // Created hidden and shown here, so that a dialog can decide in
    // OnInitDialog to stay hidden.
    if (CreateFromTemplate(hWndOwner, true))
    {
        if (!m_bEndModal)
        {
            if (IsShownAtStart())
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
            }
            RunModalLoop();
        }
    }

    if (bDisableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEndModal)
    {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            AfxOnIdle();
            // Work that can wait, a piece at a time, while the dialog asks
            // for more and nothing else arrives.
            LPARAM lIdleCount = 0;
            while (SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++) != 0 &&
                   !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            {}
        }
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0)
        {
            // WM_QUIT ends the run; put it back for the loops further out.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            return;
        }
        AfxDispatchMessage(&msg);
        if (m_hWnd == nullptr)   // destroyed by a handler
            return;
    }
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal)
    {
        m_nModalResult = nResult;
        m_bEndModal = true;
        // Wakes the loop when this is called from outside a handler.
        PostMessage(WM_NULL);
    }
    else if (m_hWnd != nullptr)
    {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Only input goes to the dialog manager; it ignores messages of other windows.
    const bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    const bool bMouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!bKey && !bMouse)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}
