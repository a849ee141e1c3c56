#include "controls/button/SkinButton.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "framework/Brush.h"
#include "framework/ClientDC.h"
#include "framework/Pen.h"
#include "framework/ScopedSelect.h"

namespace
{
// The low style bits that hold a button's type (BS_PUSHBUTTON .. BS_OWNERDRAW).
constexpr UINT BUTTON_TYPE_BITS = 0x1F;
constexpr UINT CAPTION_FORMAT = DT_WORDBREAK | DT_CENTER;
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

// The two bitmaps GetIconInfo hands out, deleted with this object.
struct IconBitmaps : ICONINFO
{
    IconBitmaps() : ICONINFO{} {}
    IconBitmaps(const IconBitmaps&) = delete;
    IconBitmaps& operator=(const IconBitmaps&) = delete;
    ~IconBitmaps()
    {
        if (hbmColor != nullptr)
            ::DeleteObject(hbmColor);
        if (hbmMask != nullptr)
            ::DeleteObject(hbmMask);
    }

    bool Read(HICON hIcon) { return hIcon != nullptr && ::GetIconInfo(hIcon, this) != FALSE; }
};

// An icon's size in pixels. Taken from its bitmaps rather than from twice its
// hot spot: the hot spot is the centre only for even sizes.
bool ReadIconSize(HICON hIcon, DWORD& dwWidth, DWORD& dwHeight)
{
    IconBitmaps info;
    BITMAP bm{};
    if (!info.Read(hIcon) || ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm) == 0)
        return false;
    dwWidth = static_cast<DWORD>(bm.bmWidth);
    // A monochrome icon stacks its AND and XOR masks in one bitmap.
    dwHeight = static_cast<DWORD>(info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
    return true;
}

bool ReadBitmapSize(HBITMAP hBitmap, DWORD& dwWidth, DWORD& dwHeight)
{
    BITMAP bm{};
    if (::GetObjectA(hBitmap, sizeof bm, &bm) == 0)
        return false;
    dwWidth = static_cast<DWORD>(bm.bmWidth);
    dwHeight = static_cast<DWORD>(bm.bmHeight);
    return true;
}

// Destroys every handle once, even when a caller used one handle for two slots.
template <class THandle, class TDestroy>
void DestroyEachOnce(std::initializer_list<THandle> handles, TDestroy destroy)
{
    std::vector<THandle> destroyed;
    for (THandle h : handles) {
        if (h != nullptr && std::find(destroyed.begin(), destroyed.end(), h) == destroyed.end()) {
            destroy(h);
            destroyed.push_back(h);
        }
    }
}

// Luminance of a colour, weighted for the eye's sensitivity to green, red and blue.
BYTE GrayLevel(COLORREF cr)
{
    const double dGray = 0.587 * GetGValue(cr) + 0.299 * GetRValue(cr) + 0.114 * GetBValue(cr);
    return static_cast<BYTE>(static_cast<int>(dGray));
}

// Copies an image onto a DC through its mask: the mask's white keeps what is
// there, its black takes the image. Without a mask the image is opaque.
void BlitMasked(CDC& dcTarget, int x, int y, int cx, int cy, CDC& dcImage, CDC* pMaskDC)
{
    if (pMaskDC == nullptr) {
        dcTarget.BitBlt(x, y, cx, cy, &dcImage, 0, 0, SRCCOPY);
        return;
    }
    dcTarget.BitBlt(x, y, cx, cy, pMaskDC, 0, 0, SRCAND);
    dcTarget.BitBlt(x, y, cx, cy, &dcImage, 0, 0, SRCPAINT);
}
} // namespace

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

CSkinButton::~CSkinButton()
{
    ReleaseParentBackground();
    FreeImages(TRUE);
    if (m_hHoverCursor != nullptr)
        ::DestroyCursor(m_hHoverCursor);
    if (m_dropMenu.m_hMenu != nullptr)
        m_dropMenu.DestroyAll();
}

// ---- Images

int CSkinButton::SetIcons(HICON hHot, HICON hIdle)
{
    FreeImages(TRUE);
    if (hHot == nullptr) {
        Repaint();
        return 0;
    }

    m_icons[0].hIcon = hHot;
    if (!ReadIconSize(hHot, m_icons[0].dwWidth, m_icons[0].dwHeight)) {
        FreeImages(TRUE);
        // The idle icon was handed over as well: it must not leak.
        if (hIdle != nullptr && hIdle != AUTO_GRAY_ICON && hIdle != hHot)
            ::DestroyIcon(hIdle);
        return 1;
    }

    if (hIdle != nullptr) {
        if (hIdle == AUTO_GRAY_ICON)
            hIdle = MakeGrayIcon(hHot);
        m_icons[1].hIcon = hIdle;
        if (!ReadIconSize(hIdle, m_icons[1].dwWidth, m_icons[1].dwHeight)) {
            FreeImages(TRUE);
            return 1;
        }
    }
    Repaint();
    return 0;
}

int CSkinButton::SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask)
{
    FreeImages(TRUE);
    if (hHot == nullptr) {
        Repaint();
        return 0;
    }

    m_bitmaps[0].hBitmap = hHot;
    m_bitmaps[0].hMask = hHotMask;
    if (hIdle != nullptr) {
        m_bitmaps[1].hBitmap = hIdle;
        m_bitmaps[1].hMask = hIdleMask;
    }
    for (BitmapSlot& slot : m_bitmaps) {
        if (slot.hBitmap != nullptr && !ReadBitmapSize(slot.hBitmap, slot.dwWidth, slot.dwHeight)) {
            FreeImages(TRUE);
            return 1;
        }
    }
    Repaint();
    return 0;
}

void CSkinButton::FreeImages(BOOL bDestroy)
{
    if (bDestroy) {
        DestroyEachOnce({m_icons[0].hIcon, m_icons[1].hIcon}, ::DestroyIcon);
        DestroyEachOnce({m_bitmaps[0].hBitmap, m_bitmaps[1].hBitmap, m_bitmaps[0].hMask, m_bitmaps[1].hMask},
                        [](HBITMAP h) { ::DeleteObject(h); });
    }
    std::memset(m_icons, 0, sizeof m_icons);
    std::memset(m_bitmaps, 0, sizeof m_bitmaps);
}

HICON CSkinButton::MakeGrayIcon(HICON hIcon)
{
    IconBitmaps source;
    BITMAP bm{};
    if (!source.Read(hIcon) || source.hbmColor == nullptr || ::GetObjectA(source.hbmColor, sizeof bm, &bm) == 0)
        return nullptr;

    // The pixels travel as 32-bit values with their alpha: the system draws an
    // icon that has an alpha channel by that channel alone, so a copy that lost
    // it would show nothing (one opaque black pixel is enough to make it count).
    CClientDC dcButton(this);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    if (dcButton.m_hDC == nullptr
        || ::GetDIBits(dcButton, source.hbmColor, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS) == 0)
        return nullptr;
    for (DWORD& dwPixel : pixels) {
        const COLORREF cr = RGB(dwPixel >> 16 & 0xFF, dwPixel >> 8 & 0xFF, dwPixel & 0xFF);
        if (cr != BLACK) {   // black stays black
            const DWORD dwGray = GrayLevel(cr);
            dwPixel = (dwPixel & 0xFF000000) | dwGray << 16 | dwGray << 8 | dwGray;
        }
    }

    CBitmap bmpGray;
    if (!bmpGray.CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 32, pixels.data()))
        return nullptr;
    ICONINFO grayInfo{TRUE, 0, 0, source.hbmMask, static_cast<HBITMAP>(bmpGray.m_hObject)};
    return ::CreateIconIndirect(&grayInfo);
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
    ReleaseParentBackground();   // the next paint takes what the parent shows now
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
    if (m_hHoverCursor != nullptr && m_hHoverCursor != hCursor)
        ::DestroyCursor(m_hHoverCursor);
    m_hHoverCursor = hCursor;
}

BOOL CSkinButton::SetTooltipText(const char* lpszText)
{
    if (!EnsureTooltip())
        return FALSE;
    const BOOL bHasText = lpszText != nullptr && *lpszText != '\0';
    if (m_tip.GetToolCount() == 0) {
        if (bHasText && !m_tip.AddTool(this, lpszText))
            return FALSE;
    } else if (bHasText) {
        m_tip.UpdateTipText(lpszText, this);
    } else {
        m_tip.DelTool(this);
    }
    m_tip.Activate(bHasText);
    return TRUE;
}

// ---- Framework overrides

void CSkinButton::PreSubclassWindow()
{
    const UINT nStyle = LOWORD(::GetWindowLongA(m_hWnd, GWL_STYLE));
    // One bit decides: every check-box and radio type has the BS_CHECKBOX bit.
    if (nStyle & BS_CHECKBOX)
        m_bCheckMode = TRUE;
    if ((nStyle & BUTTON_TYPE_BITS) == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    ModifyStyle(BUTTON_TYPE_BITS, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CSkinButton::PreTranslateMessage(MSG* pMsg)
{
    if (EnsureTooltip())
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
    static const MessageMap map = MessageMap::Of<CSkinButton>(CButton::GetThisMessageMap(), {
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
    });
    return &map;
}

const MessageMap* CSkinButton::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CSkinButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hHoverCursor == nullptr)
        return CButton::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(m_hHoverCursor);
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
    if (pWndUnder == nullptr || pWndUnder->m_hWnd != m_hWnd || !bActive) {
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
    ReleaseParentBackground();
}

BOOL CSkinButton::OnReflectedClick()
{
    SetFocus();
    if (m_bCheckMode) {
        m_nCheckState = m_nCheckState != 0 ? 0 : 1;
        Repaint();
    } else if (m_dropMenu.m_hMenu != nullptr) {
        OpenDropMenu();
    } else if (m_szLink[0] != '\0') {
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
    if (CWnd* pParent = GetParent()) {
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
    const UINT nCommand = pPopup == nullptr ? 0
        : static_cast<UINT>(pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                                   rcWindow.left, rcWindow.bottom, this));
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
    if (m_bFlat && m_bHot) {
        m_bHot = FALSE;
        Repaint();
    }
}

void CSkinButton::ReleaseParentBackground()
{
    if (m_dcParentBack.m_hDC != nullptr) {
        if (m_pOldParentBitmap != nullptr)
            m_dcParentBack.SelectObject(m_pOldParentBitmap);
        m_dcParentBack.DeleteDC();
    }
    m_pOldParentBitmap = nullptr;
    m_bmpParentBack.DeleteObject();
}

void CSkinButton::OpenLink() const
{
    SHELLEXECUTEINFOA sei{};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_FLAG_NO_UI;   // no error box from the shell; a failure stays silent
    sei.lpVerb = "open";
    sei.lpFile = m_szLink;
    sei.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExA(&sei);
}

BOOL CSkinButton::EnsureTooltip()
{
    if (m_tip.m_hWnd != nullptr)
        return TRUE;
    if (m_hWnd == nullptr || !m_tip.Create(this, 0))
        return FALSE;   // tried again with the next message
    m_tip.Activate(FALSE);
    m_tip.SetMaxTipWidth(400);
    return TRUE;
}

// ---- Drawing

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    // The DC is the owner's: it gets its modes and colours back.
    const int nSavedDC = pDC->SaveDC();

    const UINT nState = lpDIS->itemState;
    m_bPressedLook = (nState & ODS_SELECTED) != 0 || (m_bCheckMode && m_nCheckState != 0);
    // The button stays pressed for as long as its drop-down menu is open.
    if (!m_bCheckMode && m_dropMenu.m_hMenu != nullptr && m_bMenuOpen)
        m_bPressedLook = TRUE;
    m_bFocusLook = (nState & ODS_FOCUS) != 0;
    m_bDisabledLook = (nState & ODS_DISABLED) != 0;

    const CRect rcItem(lpDIS->rcItem);
    CRect rcFace(rcItem);
    pDC->SetBkMode(TRANSPARENT);
    if (!m_bFlat && (m_bFocusLook || m_bDefault)) {
        CBrush brFrame(BLACK);
        pDC->FrameRect(&rcFace, &brFrame);
        rcFace.DeflateRect(1, 1);
    }

    if (m_bSeeThrough)
        PaintParentBackground(pDC);
    else
        DrawFaceBackground(pDC, &rcFace);

    if (m_bFlat) {
        if (m_bShowBorder && (m_bPressedLook || m_bHot))
            DrawFaceBorder(pDC, &rcFace);
    } else if (m_bPressedLook) {
        CBrush brShadow(::GetSysColor(COLOR_BTNSHADOW));
        pDC->FrameRect(&rcFace, &brShadow);
    } else {
        Draw3dEdge(pDC, rcFace);
    }

    const std::string strCaption = m_bShowCaption ? GetWindowText() : std::string();
    const BOOL bHasCaption = !strCaption.empty();
    CRect rcCaption(rcItem);
    if (m_icons[0].hIcon != nullptr)
        DrawIconImage(pDC, bHasCaption, rcItem, rcCaption, m_bPressedLook, m_bDisabledLook);
    if (m_bitmaps[0].hBitmap != nullptr) {
        pDC->SetBkColor(WHITE);
        DrawBitmapImage(pDC, bHasCaption, rcItem, rcCaption, m_bPressedLook, m_bDisabledLook);
    }
    if (bHasCaption)
        DrawCaption(pDC, strCaption, rcCaption);

    if (m_bFocusLook && (!m_bFlat || m_bFocusWhenFlat)) {
        CRect rcFocus(rcFace);
        rcFocus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&rcFocus);
    }
    pDC->RestoreDC(nSavedDC);
}

DWORD CSkinButton::DrawFaceBackground(CDC* pDC, const CRect* pRect)
{
    COLORREF crBack = m_crFace[IdleBack];
    if (m_bHot || m_bPressedLook)
        crBack = m_crFace[HotBack];
    else if (m_bFocusLook)
        crBack = m_crFace[FocusBack];
    CBrush brBack(crBack);
    pDC->FillRect(pRect, &brBack);
    return 0;
}

DWORD CSkinButton::DrawFaceBorder(CDC* pDC, const CRect* pRect)
{
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_bPressedLook)
        pDC->Draw3dRect(pRect, crShadow, crHighlight);   // sunken
    else
        pDC->Draw3dRect(pRect, crHighlight, crShadow);   // raised
    return 0;
}

void CSkinButton::Draw3dEdge(CDC* pDC, const CRect& rcFace) const
{
    const int l = rcFace.left;
    const int t = rcFace.top;
    const int r = rcFace.right;
    const int b = rcFace.bottom;
    // Light from the top left: two light lines there, two dark ones at the bottom right.
    const struct
    {
        int nColor;
        POINT path[3];
    } lines[] = {
        {COLOR_BTNHIGHLIGHT, {{l, b - 1}, {l, t}, {r, t}}},
        {COLOR_3DLIGHT, {{l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1}}},
        {COLOR_3DDKSHADOW, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}}},
        {COLOR_BTNSHADOW, {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}}},
    };
    for (const auto& line : lines) {
        CPen pen(PS_SOLID, 0, ::GetSysColor(line.nColor));
        ScopedSelect selectPen(pDC->m_hDC, pen.m_hObject);
        pDC->MoveTo(line.path[0]);
        pDC->LineTo(line.path[1]);
        pDC->LineTo(line.path[2]);
    }
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

    if (m_dcParentBack.m_hDC == nullptr) {
        if (!m_dcParentBack.CreateCompatibleDC(&dcParent))
            return;
        if (!m_bmpParentBack.CreateCompatibleBitmap(&dcParent, rcClient.Width(), rcClient.Height())) {
            m_dcParentBack.DeleteDC();   // the DC and its bitmap exist together or not at all
            return;
        }
        m_pOldParentBitmap = m_dcParentBack.SelectObject(&m_bmpParentBack);
        m_dcParentBack.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcParent, rcWindow.left, rcWindow.top,
                              SRCCOPY);
    }
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_dcParentBack, 0, 0, SRCCOPY);
}

int CSkinButton::ChooseSlot(BOOL bIdleSet) const
{
    // The idle image shows while the button is neither pressed nor lit; a check
    // box keeps it while hot, as hover does not change its state.
    return bIdleSet && !m_bPressedLook && (m_bCheckMode || !m_bHot) ? 1 : 0;
}

void CSkinButton::PlaceImage(BOOL bHasCaption, const CRect& rcItem, CRect& rcImage, CRect& rcCaption, BOOL bPressed,
                             DWORD dwWidth, DWORD dwHeight)
{
    const int cx = static_cast<int>(dwWidth);
    const int cy = static_cast<int>(dwHeight);
    // Signed halvings that round toward zero: an image larger than the item
    // starts at a small negative offset.
    const int xCentred = rcItem.left + (rcItem.Width() - cx) / 2;
    const int yCentred = rcItem.top + (rcItem.Height() - cy) / 2;

    rcImage = rcItem;
    switch (m_byImagePlacement) {
    case ImageBeforeText:
        if (bHasCaption) {
            rcImage.left = rcItem.left + 3;
            rcCaption.left += cx + 3;
        } else {
            rcImage.left = xCentred;
        }
        rcImage.top = yCentred;
        break;
    case ImageAboveText:
        rcImage.left = xCentred;
        if (bHasCaption) {
            rcImage.top = 3;
            rcCaption.top += cy;
        } else {
            rcImage.top = yCentred;
        }
        break;
    case ImageAfterText:
        if (bHasCaption) {
            CRect rcClient;
            GetClientRect(&rcClient);
            rcImage.left = rcClient.right - cx - 3;
            rcCaption.right = rcCaption.right - rcCaption.left - cx - 3;
            rcCaption.left = 3;
            rcImage.top = yCentred;
        } else {
            rcImage.left = xCentred;
        }
        break;
    default:
        break;
    }
    if (bPressed && !m_bCheckMode)
        rcImage.OffsetRect(1, 1);
}

void CSkinButton::DrawIconImage(CDC* pDC, BOOL bHasCaption, const CRect& rcItem, CRect& rcCaption, BOOL bPressed,
                                BOOL bDisabled)
{
    const IconSlot& slot = m_icons[ChooseSlot(m_icons[1].hIcon != nullptr)];
    CRect rcImage;
    PlaceImage(bHasCaption, rcItem, rcImage, rcCaption, bPressed, slot.dwWidth, slot.dwHeight);
    pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), slot.hIcon, bDisabled ? DSS_DISABLED : DSS_NORMAL);
}

void CSkinButton::DrawBitmapImage(CDC* pDC, BOOL bHasCaption, const CRect& rcItem, CRect& rcCaption, BOOL bPressed,
                                  BOOL bDisabled)
{
    const BitmapSlot& slot = m_bitmaps[ChooseSlot(m_bitmaps[1].hBitmap != nullptr)];
    CRect rcImage;
    PlaceImage(bHasCaption, rcItem, rcImage, rcCaption, bPressed, slot.dwWidth, slot.dwHeight);
    const int cx = static_cast<int>(slot.dwWidth);
    const int cy = static_cast<int>(slot.dwHeight);

    CDC dcImage;
    CDC dcMask;
    if (!dcImage.CreateCompatibleDC(pDC) || !dcMask.CreateCompatibleDC(nullptr))
        return;
    ScopedSelect selectImage(dcImage.m_hDC, slot.hBitmap);
    ScopedSelect selectMask(dcMask.m_hDC, slot.hMask);
    CDC* pMaskDC = slot.hMask != nullptr ? &dcMask : nullptr;

    if (bDisabled && m_bDimDisabledBitmap) {
        // Compose the image on white first, so the disabled effect sees its shape.
        CBitmap bmpComposed;
        CDC dcComposed;
        if (!bmpComposed.CreateCompatibleBitmap(pDC, cx, cy) || !dcComposed.CreateCompatibleDC(pDC))
            return;
        {
            ScopedSelect selectComposed(dcComposed, bmpComposed);
            dcComposed.FillSolidRect(0, 0, cx, cy, WHITE);
            dcComposed.SetBkColor(WHITE);
            dcComposed.SetTextColor(BLACK);
            BlitMasked(dcComposed, 0, 0, cx, cy, dcImage, pMaskDC);
        }
        pDC->DrawState(rcImage.TopLeft(), CSize(cx, cy), static_cast<HBITMAP>(bmpComposed.m_hObject), DSS_DISABLED);
        return;
    }
    // A monochrome mask takes the target's text colour for its black and the
    // background colour for its white.
    pDC->SetTextColor(BLACK);
    BlitMasked(*pDC, rcImage.left, rcImage.top, cx, cy, dcImage, pMaskDC);
}

void CSkinButton::DrawCaption(CDC* pDC, const std::string& strCaption, CRect rcCaption)
{
    if (m_bPressedLook && !m_bCheckMode)
        rcCaption.OffsetRect(1, 1);
    const CRect rcArea(rcCaption);
    pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT | DT_CALCRECT);
    rcCaption.OffsetRect((rcArea.Width() - rcCaption.Width()) / 2, (rcArea.Height() - rcCaption.Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);

    if (m_bDisabledLook) {
        // Embossed: highlight one pixel down and right, shadow over it.
        rcCaption.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT);
        rcCaption.OffsetRect(-1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT);
        return;
    }
    const BOOL bHotColors = m_bHot || m_bPressedLook;
    pDC->SetTextColor(m_crFace[bHotColors ? HotText : IdleText]);
    pDC->SetBkColor(m_crFace[bHotColors ? HotBack : IdleBack]);
    pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT);
}
