#include "controls/button/SkinButton.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

#include "controls/button/SkinButtonPainter.h"
#include "framework/Brush.h"
#include "framework/ClientDC.h"
#include "framework/Shell.h"

namespace
{
    // The low style bits that hold a button's type (BS_PUSHBUTTON .. BS_OWNERDRAW).
    constexpr UINT BUTTON_TYPE_BITS = 0x1F;
}   // namespace

CSkinButton::CSkinButton()
{
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
    m_crFace[HotBack] = crFace;
    m_crFace[HotText] = crText;
    m_crFace[IdleBack] = crFace;
    m_crFace[IdleText] = crText;
    m_crFace[FocusBack] = crFace;
}

// ---- Images

int CSkinButton::SetIcons(OwnedIcon hot, OwnedIcon idle)
{
    return RepaintUnlessFailed(m_images.SetIcons(std::move(hot), std::move(idle)));
}

int CSkinButton::SetIconWithGrayIdle(OwnedIcon hot)
{
    return RepaintUnlessFailed(m_images.SetIconWithGrayIdle(std::move(hot), this));
}

void CSkinButton::ClearImages()
{
    m_images.Clear();
    Repaint();
}

int CSkinButton::SetIcons(HICON hHot, HICON hIdle)
{
    if (hHot == nullptr)
    {
        ClearImages();
        return 0;
    }
    if (hIdle == AUTO_GRAY_ICON)
        return SetIconWithGrayIdle(OwnedIcon(hHot));
    // A handle given for both slots has one owner; the hot icon shows in both states.
    return SetIcons(OwnedIcon(hHot), OwnedIcon(hIdle == hHot ? nullptr : hIdle));
}

void CSkinButton::SetIcon(const SharedIcon& icon)
{
    if (m_images.SetIcon(icon))
        Repaint();
}

SharedIcon CSkinButton::SwapIcon(const SharedIcon& icon) noexcept
{
    SharedIcon previous = m_images.Icon(0);
    m_images.SetIcon(icon);
    return previous;
}

int CSkinButton::SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask)
{
    return RepaintUnlessFailed(m_images.SetBitmaps(hHot, hHotMask, hIdle, hIdleMask));
}

int CSkinButton::RepaintUnlessFailed(int nResult)
{
    if (nResult == 0)
        Repaint();
    return nResult;
}

// ---- Options

void CSkinButton::SetFlat(BOOL bFlat)
{
    m_bFlat = bFlat;
    if (!bFlat)
        m_bHot = FALSE;   // only the flat style tracks the pointer
    Repaint();
}

void CSkinButton::SetFaceColor(FaceColor color, COLORREF crColor)
{
    if (color < 0 || color >= FACE_COLOR_COUNT)
        return;
    m_crFace[color] = crColor;
    Repaint();
}

COLORREF CSkinButton::GetFaceColor(FaceColor color) const
{
    return color < 0 || color >= FACE_COLOR_COUNT ? CLR_INVALID : m_crFace[color];
}

void CSkinButton::SetSeeThrough(BOOL bSeeThrough)
{
    m_bSeeThrough = bSeeThrough;
    m_parentBack.Release();   // the next paint takes what the parent shows now
    Repaint();
}

BOOL CSkinButton::SetLink(const char* lpszLink)
{
    const char* pszLink = lpszLink != nullptr ? lpszLink : "";
    const size_t nLength = std::strlen(pszLink);
    // A shortened path would open something else: refuse it instead.
    if (nLength >= sizeof m_szLink)
        return FALSE;
    std::memcpy(m_szLink, pszLink, nLength + 1);
    return TRUE;
}

void CSkinButton::SetHoverCursor(HCURSOR hCursor)
{
    m_hoverCursor.Reset(hCursor);
}

BOOL CSkinButton::SetTooltipText(const char* lpszText)
{
    if (!EnsureTooltip())
        return FALSE;
    const BOOL bHasText = lpszText != nullptr && *lpszText != '\0';
    if (m_tip.GetToolCount() == 0)
    {
        if (bHasText && !m_tip.AddTool(this, lpszText))
            return FALSE;
    }
    else if (bHasText)
    {
        m_tip.UpdateTipText(lpszText, this);
    }
    else
    {
        m_tip.DelTool(this);
    }
    m_tip.Activate(bHasText);
    return TRUE;
}

// ---- Framework overrides

void CSkinButton::PreSubclassWindow()
{
    const UINT nStyle = LOWORD(::GetWindowLongA(m_hWnd, GWL_STYLE));
    // The BS_CHECKBOX bit alone decides, as callers rely on: the check boxes
    // (but BS_3STATE), BS_GROUPBOX, BS_PUSHBOX, BS_OWNERDRAW and the command
    // links have it; radio buttons, BS_3STATE and split buttons do not.
    if (nStyle & BS_CHECKBOX)
        m_bCheckMode = TRUE;
    if ((nStyle & BUTTON_TYPE_BITS) == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    ModifyStyle(BUTTON_TYPE_BITS, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

// Only a button given a tip has a tooltip window (SetTooltipText makes it), so
// that a window of many buttons does not make one per button at start.
BOOL CSkinButton::PreTranslateMessage(MSG* pMsg)
{
    if (m_tip.m_hWnd != nullptr)
        m_tip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

LRESULT CSkinButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Each click of a double click is a press of its own, with its own BN_CLICKED.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

// ---- Message map and handlers

const MessageMap* CSkinButton::GetThisMessageMap()
{
    static const MessageMap map = MessageMap::Of<CSkinButton>(
        CButton::GetThisMessageMap(),
        {
            OnWmSetCursor(&CSkinButton::OnSetCursor),
            OnWmKillFocus(&CSkinButton::OnKillFocus),
            OnWmMouseMove(&CSkinButton::OnMouseMove),
            OnWmSysColorChange(&CSkinButton::OnSysColorChange),
            OnReflectedBnClicked(&CSkinButton::OnReflectedClick),
            OnWmActivate(&CSkinButton::OnActivate),
            OnWmEnable(&CSkinButton::OnEnable),
            OnWmCancelMode(&CSkinButton::OnCancelMode),
            OnWmGetDlgCode(&CSkinButton::OnGetDlgCode),
            OnReflectedCtlColor(&CSkinButton::CtlColor),
            OnWmMenuChar(&CSkinButton::OnMenuChar),
            OnWmMeasureItem(&CSkinButton::OnMeasureItem),
            OnMessage(BM_SETSTYLE, &CSkinButton::OnSetStyleMsg),
            OnMessage(WM_MOUSELEAVE, &CSkinButton::OnMouseLeaveMsg),
            OnMessage(BM_SETCHECK, &CSkinButton::OnSetCheckMsg),
            OnMessage(BM_GETCHECK, &CSkinButton::OnGetCheckMsg),
        }
    );
    return &map;
}

const MessageMap* CSkinButton::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CSkinButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_hoverCursor)
        return CButton::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(m_hoverCursor.Get());
    return TRUE;
}

void CSkinButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    const CWnd* pWndUnder = WindowFromPoint(point);

    // A press that began elsewhere and is dragged over the button does not light it.
    if ((nFlags & MK_LBUTTON) && !m_bHot)
        return;
    if (!m_bFlat)
        return;
    const BOOL bActive = m_bTrackInactive || GetActiveWindow() != nullptr;
    if (pWndUnder == nullptr || pWndUnder->m_hWnd != m_hWnd || !bActive)
    {
        CancelHover();
        return;
    }
    if (m_bHot)
        return;
    m_bHot = TRUE;
    Repaint();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
    ::_TrackMouseEvent(&tme);
}

void CSkinButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    m_parentBack.Release();
}

BOOL CSkinButton::OnReflectedClick()
{
    SetFocus();
    if (m_bCheckMode)
    {
        m_nCheckState = m_nCheckState != 0 ? 0 : 1;
        Repaint();
    }
    else if (m_dropMenu.m_hMenu != nullptr)
    {
        OpenDropMenu();
    }
    else if (m_szLink[0] != '\0')
    {
        OpenLink();
    }
    // The parent always gets the click too: the main window's handlers rely on it.
    return FALSE;
}

void CSkinButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CSkinButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (bEnable)
        return;
    // Hand the focus on to the next control, so the keyboard never stays on a
    // disabled button.
    if (CWnd* pParent = GetParent())
    {
        CWnd* pNext = pParent->GetNextDlgTabItem(this, FALSE);
        if (pNext == nullptr || pNext->m_hWnd == m_hWnd)
            pNext = pParent;
        pNext->SetFocus();
    }
    CancelHover();
}

void CSkinButton::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

UINT CSkinButton::OnGetDlgCode()
{
    // The dialog manager finds its default button by these two bits, so exactly
    // one of them is set.
    const UINT nCode = CButton::OnGetDlgCode() & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return nCode | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CSkinButton::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CSkinButton::OnSetStyleMsg(WPARAM wParam, LPARAM lParam)
{
    const UINT nType = static_cast<UINT>(wParam) & BUTTON_TYPE_BITS;
    if (nType == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    else if (nType == BS_PUSHBUTTON)
        m_bDefault = FALSE;
    // The control stays owner-drawn when the dialog moves the default state.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BUTTON_TYPE_BITS)) | BS_OWNERDRAW, lParam);
}

LRESULT CSkinButton::OnMouseLeaveMsg(WPARAM, LPARAM)
{
    CancelHover();
    return 0;
}

LRESULT CSkinButton::OnSetCheckMsg(WPARAM wParam, LPARAM)
{
    if (!m_bCheckMode)
        return 0;
    m_nCheckState = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
    Repaint();
    return 0;
}

LRESULT CSkinButton::OnGetCheckMsg(WPARAM, LPARAM)
{
    return m_nCheckState;
}

LRESULT CSkinButton::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (CSkinMenu::IsOwnPopup(pMenu))
        return CSkinMenu::FindMnemonic(nChar, nFlags, pMenu);
    return CButton::OnMenuChar(nChar, nFlags, pMenu);
}

void CSkinButton::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // A popup item carries its popup's handle as its id.
    const HMENU hPopup = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(lpMeasureItemStruct->itemID));
    if (lpMeasureItemStruct->CtlType == ODT_MENU && ::IsMenu(hPopup) && CSkinMenu::IsOwnPopupHandle(hPopup))
        m_dropMenu.MeasureItem(lpMeasureItemStruct);
    else
        CButton::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

// ---- Drop-down menu

BOOL CSkinButton::SetDropMenu(UINT nIDMenu, HWND hTarget)
{
    m_hMenuTarget = hTarget;
    if (m_dropMenu.LoadFromResource(nIDMenu))
        return TRUE;
    // A missing template leaves the old menu in place: the button has none then.
    if (m_dropMenu.m_hMenu != nullptr)
        m_dropMenu.DestroyAll();
    return FALSE;
}

void CSkinButton::OpenDropMenu()
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    m_bMenuOpen = TRUE;
    RepaintNow();
    CMenu* pPopup = m_dropMenu.GetSubMenu(0);
    const UINT nCommand =
        pPopup == nullptr
            ? 0
            : static_cast<UINT>(pPopup->TrackPopupMenu(
                  TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, rcWindow.left, rcWindow.bottom, this
              ));
    m_bMenuOpen = FALSE;
    RepaintNow();
    // Posted, so the command runs after this click has been handled.
    if (nCommand != 0)
        ::PostMessageA(m_hMenuTarget, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
}

// ---- Implementation

void CSkinButton::Repaint()
{
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
}

void CSkinButton::RepaintNow()
{
    Repaint();
    if (m_hWnd != nullptr)
        UpdateWindow();
}

void CSkinButton::CancelHover()
{
    if (m_bFlat && m_bHot)
    {
        m_bHot = FALSE;
        Repaint();
    }
}

void CSkinButton::OpenLink() const
{
    SHELLEXECUTEINFOA sei{};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_FLAG_NO_UI;   // no error box from the shell; a failure stays silent
    sei.lpVerb = "open";
    sei.lpFile = m_szLink;
    sei.nShow = SW_SHOWMAXIMIZED;
    Shell::ExecuteEx(&sei);
}

BOOL CSkinButton::EnsureTooltip()
{
    if (m_tip.m_hWnd != nullptr)
        return TRUE;
    if (m_hWnd == nullptr || !m_tip.Create(this, 0))
        return FALSE;
    m_tip.Activate(FALSE);
    m_tip.SetMaxTipWidth(400);
    return TRUE;
}

// ---- Drawing

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CSkinButtonPainter painter(*this, *lpDIS);
    painter.Paint();
}

DWORD CSkinButton::DrawFaceBackground(CDC* pDC, const CRect* pRect, const CSkinButtonPainter& painter)
{
    COLORREF crBack = m_crFace[IdleBack];
    if (m_bHot || painter.IsPressedLook())
        crBack = m_crFace[HotBack];
    else if (painter.IsFocusLook())
        crBack = m_crFace[FocusBack];
    CBrush brBack(crBack);
    pDC->FillRect(pRect, &brBack);
    return 0;
}

DWORD CSkinButton::DrawFaceBorder(CDC* pDC, const CRect* pRect, const CSkinButtonPainter& painter)
{
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (painter.IsPressedLook())
        pDC->Draw3dRect(pRect, crShadow, crHighlight);   // sunken
    else
        pDC->Draw3dRect(pRect, crHighlight, crShadow);   // raised
    return 0;
}

void CSkinButton::PaintParentBackground(CDC* pDC)
{
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    CClientDC dcParent(pParent);
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    pParent->ScreenToClient(&rcWindow);

    if (m_parentBack.m_hDC == nullptr)
    {
        if (!m_parentBack.Create(&dcParent, rcClient.Width(), rcClient.Height()))
            return;
        m_parentBack.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcParent, rcWindow.left, rcWindow.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_parentBack, 0, 0, SRCCOPY);
}
