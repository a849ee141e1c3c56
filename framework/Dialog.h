#pragma once
#include "framework/Wnd.h"

class CDataExchange;

// Sent by the modal loop to its dialog when the queue is empty: wParam
// MSGF_DIALOGBOX, lParam how many were sent since the last message. A nonzero
// answer asks for another as long as nothing else arrives.
#ifndef WM_KICKIDLE
#define WM_KICKIDLE 0x036A
#endif

// A dialog from a template in the module's resources, run modally (DoModal)
// or modeless (Create).
//
// The modal loop gives every message first to PreTranslateMessage of the
// window it is for and of that window's ancestors (a dialog's own answers
// the dialog keys through IsDialogMessage: Enter clicks the default button,
// Escape sends IDCANCEL). Close from the system menu arrives as IDCANCEL.
// Modeless dialogs owned by the running one get the same treatment. Whenever
// the queue runs empty, the dialog gets WM_KICKIDLE for work that can wait.
class CDialog : public CWnd
{
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // ---- Operations
    // Runs the dialog until EndDialog; returns its result, -1 when the
    // template could not be loaded. The dialog is shown once OnInitDialog has
    // run, unless IsShownAtStart says otherwise.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless (hidden unless the template says
    // WS_VISIBLE); pParentWnd becomes its owner.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal run with nResult; hides a modeless dialog.
    void EndDialog(int nResult);
    // TRUE: controls -> members (with validation), FALSE: members -> controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    BOOL IsModal() const { return m_bModal; }

    // ---- Overrideables
    // Default: UpdateData(FALSE); returns TRUE so the system focuses the first control.
    virtual BOOL OnInitDialog();
    // Asked by DoModal once OnInitDialog has run, whether to show the dialog
    // now (the template's WS_VISIBLE plays no part in a modal run). Default:
    // true. A dialog that answers false is never shown, not even for a
    // moment, until it shows itself.
    virtual bool IsShownAtStart() const { return true; }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    const MessageMap* GetMessageMap() const override;
    static const MessageMap* GetThisMessageMap();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Default: UpdateData(TRUE), then EndDialog(IDOK) when it succeeded.
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();

    // Data members
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // bHidden: created hidden, whatever the template's WS_VISIBLE says.
    BOOL CreateFromTemplate(HWND hWndOwner, bool bHidden);
    HWND FindOwnerForModal() const;
    void RunModalLoop();

    bool m_bModal = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};
