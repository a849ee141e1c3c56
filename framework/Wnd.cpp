#include "framework/Wnd.h"
#include "framework/Afx.h"
#include "framework/DC.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"
#include "framework/Text.h"

namespace
{
    using WndMap = HandleMap<HWND, CWnd, &CWnd::m_hWnd>;

    WndMap& TheWndMap()
    {
        thread_local WndMap map;
        return map;
    }

    // The message being handled on this thread (for Default and reflection).
    thread_local MSG t_msgCurrent{};
    // The object that claims the next window this thread creates.
    thread_local CWnd* t_pWndInit = nullptr;
    thread_local HHOOK t_hCreationHook = nullptr;

    const wchar_t STANDARD_CLASS_NAME[] = L"VelkorWnd";

    void RegisterStandardClass()
    {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.style = CS_DBLCLKS;
            // Our procedure is installed per window; the class's is the system default.
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = STANDARD_CLASS_NAME;
            return ::RegisterClassExW(&wc);
        }();
        (void)atom;
    }
}   // namespace

// Window-procedure nesting depth, read by AfxOnIdle: borrowed wrappers may
// only be freed by a loop that runs outside every handler.
thread_local int g_nWndProcDepth = 0;

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd()
{
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this)
        return;
    if (m_bCreatedHere)
        ::DestroyWindow(m_hWnd);
    if (m_hWnd != nullptr)
        UnsubclassWindow();
}

// ---- Binding objects and handles

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return TheWndMap().FromHandle(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return TheWndMap().LookupPermanent(hWnd);
}

void CWnd::DeleteTempMap()
{
    TheWndMap().DeleteTemporary();
}

void CWnd::BindPermanent(HWND hWnd)
{
    m_hWnd = hWnd;
    TheWndMap().SetPermanent(hWnd, this);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd != nullptr || hWndNew == nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    BindPermanent(hWndNew);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        TheWndMap().RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    if (m_hWnd != hWnd)
        return FALSE;   // PreSubclassWindow destroyed or detached it
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWindowProc))
    );
    if (m_pfnSuper == nullptr)
    {
        Detach();
        return FALSE;
    }
    m_bSubclassed = true;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_bSubclassed && m_hWnd != nullptr &&
        ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::StandardWindowProc))
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_bSubclassed = false;
    m_bCreatedHere = false;
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::UnbindAfterDestroy()
{
    UnsubclassWindow();
    PostNcDestroy();
}

// ---- Creation

LRESULT CALLBACK CWnd::CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && t_pWndInit != nullptr)
    {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        // PreSubclassWindow runs here, inside the system's hook call.
        try
        {
            if (pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam)))
                pWnd->m_bCreatedHere = true;
        }
        catch (...)
        {
            pWnd->UnsubclassWindow();
        }
    }
    return ::CallNextHookEx(t_hCreationHook, nCode, wParam, lParam);
}

void CWnd::HookCreation()
{
    // One hook per thread, kept: it does nothing unless a creation is pending.
    if (t_hCreationHook == nullptr)
        t_hCreationHook = ::SetWindowsHookExW(WH_CBT, &CWnd::CbtHookProc, nullptr, ::GetCurrentThreadId());
    t_pWndInit = this;
}

void CWnd::UnhookCreation()
{
    t_pWndInit = nullptr;
}

BOOL CWnd::CreateEx(
    DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
    UINT nID, LPVOID lpParam
)
{
    if (m_hWnd != nullptr)
        return FALSE;
    std::wstring strClass;
    if (lpszClassName == nullptr)
        RegisterStandardClass();
    else
        strClass = WidenAnsi(lpszClassName);
    const std::wstring strName = WidenAnsi(lpszWindowName);
    HWND hWndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    HMENU hMenuOrId = (dwStyle & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;

    HookCreation();
    HWND hWnd = ::CreateWindowExW(
        dwExStyle, lpszClassName == nullptr ? STANDARD_CLASS_NAME : strClass.c_str(), strName.c_str(), dwStyle,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hWndParent, hMenuOrId,
        ::GetModuleHandleW(nullptr), lpParam
    );
    UnhookCreation();
    if (hWnd == nullptr)
        return FALSE;
    if (m_hWnd != hWnd)
    {   // the hook did not see it (created by another thread's hook chain)
        if (!SubclassWindow(hWnd))
        {
            ::DestroyWindow(hWnd);
            return FALSE;
        }
        m_bCreatedHere = true;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

// ---- Message routing

LRESULT CALLBACK CWnd::StandardWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return Dispatch(*pWnd, hWnd, message, wParam, lParam);
}

LRESULT CWnd::Dispatch(CWnd& wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG msgPrevious = t_msgCurrent;
    t_msgCurrent = MSG{hWnd, message, wParam, lParam, 0, {}};
    ++g_nWndProcDepth;
    LRESULT lResult = 0;
    // Nothing may unwind through the system's frames: a handler's exception
    // ends that handler only.
    try
    {
        lResult = wnd.WindowProc(message, wParam, lParam);
    }
    catch (...)
    {
        lResult = message == WM_CREATE ? -1 : 0;
    }
    if (message == WM_NCDESTROY && FromHandlePermanent(hWnd) == &wnd)
        wnd.UnbindAfterDestroy();
    --g_nWndProcDepth;
    t_msgCurrent = msgPrevious;
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
        return OnCommandMsg(wParam, lParam, pResult);
    return DispatchToMap(message, wParam, lParam, pResult);
}

BOOL CWnd::OnCommandMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // A control's notification goes to the control object first.
    HWND hWndControl = reinterpret_cast<HWND>(lParam);
    if (hWndControl != nullptr && hWndControl != m_hWnd)
    {
        if (CWnd* pControl = FromHandlePermanent(hWndControl))
            if (pControl->OnChildNotify(WM_COMMAND, wParam, lParam, pResult))
                return TRUE;
    }
    return DispatchToMap(WM_COMMAND, wParam, lParam, pResult);
}

BOOL CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const MessageMap* pMap = GetMessageMap();
    const MessageEntry* pEntry = pMap != nullptr ? pMap->Find(message, wParam) : nullptr;
    if (pEntry == nullptr)
        return FALSE;
    LRESULT lResult = 0;
    if (!pEntry->pfnHandler(*this, message, wParam, lParam, lResult))
        return FALSE;
    *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return DispatchToMap(WM_REFLECT_BASE + message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild == nullptr)
        return FALSE;
    return pChild->OnChildNotify(t_msgCurrent.message, t_msgCurrent.wParam, t_msgCurrent.lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageMap map(
        nullptr,
        {
            OnWmDrawItem(&CWnd::OnDrawItem),
            OnWmMeasureItem(&CWnd::OnMeasureItem),
            OnWmCtlColor(&CWnd::OnCtlColor),
        }
    );
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_msgCurrent.message, t_msgCurrent.wParam, t_msgCurrent.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &t_msgCurrent;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

// ---- Default handlers

void CWnd::OnPaint()
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnSysColorChange()
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*)
{
    return Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU)
    {
        if (CMenu* pMenu = CMenu::FindPermanentHolding(lpMeasureItemStruct->itemID))
        {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    else if (HWND hWndControl = ::GetDlgItem(m_hWnd, nIDCtl))
    {
        LRESULT lResult = 0;
        if (ReflectLastMsg(hWndControl, &lResult))
            return;
    }
    Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU)
    {
        if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem)))
        {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    else
    {
        LRESULT lResult = 0;
        if (ReflectLastMsg(lpDrawItemStruct->hwndItem, &lResult))
            return;
    }
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    const UINT message = t_msgCurrent.message;
    const bool bCtlColorMessage = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    if (bCtlColorMessage && pWnd != nullptr && pWnd->m_hWnd != m_hWnd)
    {
        LRESULT lResult = 0;
        if (ReflectLastMsg(pWnd->m_hWnd, &lResult))
            return reinterpret_cast<HBRUSH>(lResult);
    }
    return reinterpret_cast<HBRUSH>(Default());
}

// ---- Window state

namespace
{
    BOOL ModifyLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
    {
        const DWORD dwOld = static_cast<DWORD>(::GetWindowLongW(hWnd, nIndex));
        const DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
        if (dwOld == dwNew)
            return FALSE;
        ::SetWindowLongW(hWnd, nIndex, static_cast<LONG>(dwNew));
        if (nFlags != 0)
            ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
        return TRUE;
    }
}   // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

std::string CWnd::GetWindowText() const
{
    const int nLength = ::GetWindowTextLengthA(m_hWnd);
    if (nLength <= 0)
        return {};
    std::string str(static_cast<size_t>(nLength) + 1, '\0');
    const int nCopied = ::GetWindowTextA(m_hWnd, str.data(), nLength + 1);
    str.resize(static_cast<size_t>(nCopied > 0 ? nCopied : 0));
    return str;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon))
    );
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

// ---- Relatives

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

// ---- Message boxes

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType)
{
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}

int CWnd::MessageBoxW(const wchar_t* lpszText, const wchar_t* lpszCaption, UINT nType)
{
    const std::wstring strAppName = WidenAnsi(AfxGetAppName());
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption != nullptr ? lpszCaption : strAppName.c_str(), nType);
}
