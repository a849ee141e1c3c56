#pragma once
#include <windows.h>
#include <string>
#include "framework/MessageMap.h"
#include "framework/Rect.h"

class CDC;
class CMenu;

// A window object. It is bound to its HWND either by creating the window
// (CreateEx) or by subclassing an existing one (SubclassWindow,
// SubclassDlgItem, DDX_Control); from then on every message of that window
// runs through WindowProc: the message map first, DefWindowProc (the
// window's original procedure) for what the map leaves.
//
// A click on a child button reaches handlers like this:
//   1. the button sends WM_COMMAND(BN_CLICKED) to its parent;
//   2. the parent's WindowProc offers it to the button object first
//      (OnChildNotify, a reflected entry in the button's map);
//   3. unless that handler swallowed it (returned TRUE), the parent's map is
//      searched for an OnBnClicked(id) entry, own class first, then bases.
class CWnd
{
public:
    // Data members
    HWND m_hWnd = nullptr;

    // Placement sentinels for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys a window this object created; gives a subclassed one back its
    // own procedure (the dialog that owns the control destroys it).
    virtual ~CWnd();

    // ---- Binding objects and handles
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The object bound to hWnd, else a borrowed wrapper valid until the
    // message loop next goes idle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    // Binds without subclassing: the object names the window but sees none
    // of its messages.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Routes hWnd's messages through this object. PreSubclassWindow runs
    // first, while the window still has its own procedure.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // ---- Creation and destruction
    // A null class name creates a window of the layer's own class.
    BOOL CreateEx(
        DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
        UINT nID, LPVOID lpParam = nullptr
    );
    virtual BOOL DestroyWindow();

    // ---- Overrideables
    // Sees messages of this window and its children before they are
    // dispatched; TRUE means handled (not dispatched).
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's original procedure (the class's, or the one replaced by
    // subclassing).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PreSubclassWindow();
    // Called after the window is gone (WM_NCDESTROY); the object is unbound.
    virtual void PostNcDestroy();
    // A notification the parent reflects back to this control; TRUE when
    // handled here (then *pResult is the answer to the parent's message).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual const MessageMap* GetMessageMap() const;
    static const MessageMap* GetThisMessageMap();

    // ---- Messages
    // The default processing of the message being handled.
    LRESULT Default();
    static const MSG* GetCurrentMessage();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Runs PreTranslateMessage of the window under the message and of its
    // ancestors up to hWndStop; TRUE when one of them handled it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // Offers the message being handled to the child it came from.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult);

    // ---- Window state
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // Changes style bits; nFlags non-zero also calls SetWindowPos with those
    // flags (e.g. SWP_FRAMECHANGED) so the change takes effect.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetWindowText(const char* lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    void SetWindowText(const std::string& str) { SetWindowText(str.c_str()); }
    void SetWindowTextW(const wchar_t* lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    std::string GetWindowText() const;
    void GetWindowText(std::string& str) const { str = GetWindowText(); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;

    // ---- Geometry
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const
    {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const
    {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(
            m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags
        );
    }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }

    // ---- Painting
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // A window's DC is had through CClientDC, which gives it back.

    // ---- Relatives, focus, activation
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl != nullptr ? pWndCtl->m_hWnd : nullptr, bPrevious));
    }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // ---- Timers (WM_TIMER reaches OnTimer)
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // ---- Message boxes owned by this window. A null caption means the
    // application's name.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);
    int MessageBoxW(const wchar_t* lpszText, const wchar_t* lpszCaption = nullptr, UINT nType = MB_OK);

protected:
    // ---- Default handlers: each gives the message its default processing.
    // A derived handler calls them (e.g. CWnd::OnKillFocus(pNewWnd)).
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnSysColorChange();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnCancelMode();
    UINT OnGetDlgCode();
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    // Owner-drawn menu items go to the CMenu object that holds them; other
    // items get the default processing.
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // A control that colours itself (a reflected WM_CTLCOLOR entry) answers
    // first; otherwise the default processing's brush.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // ---- Implementation
    // Map lookup and the built-in routing (reflection, owner-draw); TRUE
    // when handled, with the answer in *pResult.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnCommandMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    friend class CDialog;
    explicit CWnd(HWND hWndSentinel)
        : m_hWnd(hWndSentinel)
    {}
    static LRESULT CALLBACK StandardWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT Dispatch(CWnd& wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void BindPermanent(HWND hWnd);
    void UnbindAfterDestroy();
    // Begins/ends capturing the next window this thread creates for this object.
    void HookCreation();
    static void UnhookCreation();

    WNDPROC m_pfnSuper = nullptr;   // the window's procedure before ours
    bool m_bSubclassed = false;   // our procedure is installed
    bool m_bCreatedHere = false;   // CreateEx/dialog creation made the window
};
