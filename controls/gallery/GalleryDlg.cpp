#include "controls/gallery/GalleryDlg.h"

#include "controls/gallery/GalleryArt.h"
#include "controls/gallery/resource.h"
#include "framework/DataExchange.h"
#include "framework/FilePath.h"
#include "framework/PaintDC.h"
#include "framework/Text.h"

#include <windowsx.h>

#include <string>

namespace
{
    const int ICON_SIZE = 24;
    const COLORREF BLUE = RGB(40, 110, 200);
    const COLORREF GREEN = RGB(40, 160, 80);
    const COLORREF ORANGE = RGB(230, 130, 30);
    const COLORREF PURPLE = RGB(140, 70, 190);
    const COLORREF RED = RGB(200, 50, 50);

    OwnedIcon Icon(COLORREF crDisc, CGalleryArt::Shape shape)
    {
        return CGalleryArt::MakeButtonIcon(ICON_SIZE, crDisc, shape);
    }
}

CGalleryDlg::CGalleryDlg(BOOL bFlatMenus)
    : CDialog(IDD_GALLERY),
      m_bFlatMenus(bFlatMenus)
{}

void CGalleryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_FLAT, m_btnFlat);
    DDX_Control(pDX, IDC_BTN_3D, m_btn3D);
    DDX_Control(pDX, IDC_BTN_DEFAULT, m_btnDefault);
    DDX_Control(pDX, IDC_BTN_CHECK, m_btnCheck);
    DDX_Control(pDX, IDC_BTN_CHECKED, m_btnChecked);
    DDX_Control(pDX, IDC_BTN_GREY, m_btnGrey);
    DDX_Control(pDX, IDC_BTN_DISABLED_ICON, m_btnDisabledIcon);
    DDX_Control(pDX, IDC_BTN_BITMAPS, m_btnBitmaps);
    DDX_Control(pDX, IDC_BTN_DISABLED_TEXT, m_btnDisabledText);
    DDX_Control(pDX, IDC_BTN_BEFORE, m_btnBefore);
    DDX_Control(pDX, IDC_BTN_ABOVE, m_btnAbove);
    DDX_Control(pDX, IDC_BTN_AFTER, m_btnAfter);
    DDX_Control(pDX, IDC_BTN_CURSOR, m_btnCursor);
    DDX_Control(pDX, IDC_BTN_TOOLTIP, m_btnTooltip);
    DDX_Control(pDX, IDC_BTN_LINK, m_btnLink);
    DDX_Control(pDX, IDC_BTN_SEE_THROUGH, m_btnSeeThrough);
    DDX_Control(pDX, IDC_BTN_MENU, m_btnMenu);
}

const MessageMap* CGalleryDlg::GetMessageMap() const
{
    static const MessageMap map = MessageMap::Of<CGalleryDlg>(
        CDialog::GetThisMessageMap(),
        {
            OnWmPaint(&CGalleryDlg::OnPaint),
            OnMessage(WM_CONTEXTMENU, &CGalleryDlg::OnContextMenu),
            OnWmMenuChar(&CGalleryDlg::OnMenuChar),
            OnBnClicked(IDC_STYLE_CLASSIC, &CGalleryDlg::OnBnClickedClassicStyle),
            OnBnClicked(IDC_STYLE_FLAT, &CGalleryDlg::OnBnClickedFlatStyle),
            OnMessage(WM_COMMAND, &CGalleryDlg::OnCommand),
        }
    );
    return &map;
}

BOOL CGalleryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpButtons();
    CheckRadioButton(m_hWnd, IDC_STYLE_CLASSIC, IDC_STYLE_FLAT, m_bFlatMenus ? IDC_STYLE_FLAT : IDC_STYLE_CLASSIC);
    ApplyMenuStyle(m_bFlatMenus);
    return TRUE;
}

void CGalleryDlg::SetUpButtons()
{
    // Every button shows its caption, so each says what it shows.
    for (CSkinButton* pButton :
         {&m_btnFlat, &m_btn3D, &m_btnDefault, &m_btnCheck, &m_btnChecked, &m_btnGrey, &m_btnDisabledIcon,
          &m_btnBitmaps, &m_btnDisabledText, &m_btnBefore, &m_btnAbove, &m_btnAfter, &m_btnCursor, &m_btnTooltip,
          &m_btnLink, &m_btnSeeThrough, &m_btnMenu})
        pButton->SetShowCaption(TRUE);

    m_btnFlat.SetIcons(Icon(BLUE, CGalleryArt::SHAPE_STAR));
    m_btn3D.SetFlat(FALSE);
    m_btn3D.SetIcons(Icon(GREEN, CGalleryArt::SHAPE_PLAY));
    m_btnDefault.SetFlat(FALSE);
    m_btnDefault.SetIcons(Icon(ORANGE, CGalleryArt::SHAPE_TICK));
    m_btnCheck.SetIcons(Icon(PURPLE, CGalleryArt::SHAPE_SQUARE));
    m_btnChecked.SetIcons(Icon(PURPLE, CGalleryArt::SHAPE_TICK));
    m_btnChecked.SetCheck(BST_CHECKED);

    m_btnGrey.SetIconWithGrayIdle(Icon(RED, CGalleryArt::SHAPE_STAR));
    m_btnDisabledIcon.SetIconWithGrayIdle(Icon(RED, CGalleryArt::SHAPE_STAR));
    HBITMAP hHot = nullptr, hHotMask = nullptr, hIdle = nullptr, hIdleMask = nullptr;
    CGalleryArt::MakeMaskedBitmap(ICON_SIZE, ORANGE, CGalleryArt::SHAPE_DIAMOND, hHot, hHotMask);
    CGalleryArt::MakeMaskedBitmap(ICON_SIZE, BLUE, CGalleryArt::SHAPE_DIAMOND, hIdle, hIdleMask);
    m_btnBitmaps.SetBitmaps(hHot, hHotMask, hIdle, hIdleMask);

    m_btnBefore.SetImagePlacement(CSkinButton::ImageBeforeText);
    m_btnBefore.SetIcons(Icon(GREEN, CGalleryArt::SHAPE_ARROW));
    m_btnAbove.SetImagePlacement(CSkinButton::ImageAboveText);
    m_btnAbove.SetIcons(Icon(GREEN, CGalleryArt::SHAPE_ARROW));
    m_btnAfter.SetImagePlacement(CSkinButton::ImageAfterText);
    m_btnAfter.SetIcons(Icon(GREEN, CGalleryArt::SHAPE_ARROW));

    m_btnCursor.SetHoverCursor(static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_HAND))));
    m_btnCursor.SetIcons(Icon(BLUE, CGalleryArt::SHAPE_PLUS));
    m_btnTooltip.SetTooltipText("A tip, shown while the pointer rests on the button");
    m_btnTooltip.SetIcons(Icon(ORANGE, CGalleryArt::SHAPE_PAGE));
    // The link opens the gallery's own folder.
    m_btnLink.SetLink(NarrowAnsi(FilePath::FolderOf(FilePath::ExecutablePath()).c_str()).c_str());
    m_btnLink.SetIcons(Icon(BLUE, CGalleryArt::SHAPE_FOLDER));
    m_btnSeeThrough.SetSeeThrough(TRUE);
    m_btnSeeThrough.SetFaceColor(CSkinButton::IdleText, RGB(255, 255, 255));
    m_btnSeeThrough.SetFaceColor(CSkinButton::HotText, RGB(255, 255, 255));

    m_btnMenu.SetImagePlacement(CSkinButton::ImageAfterText);
    m_btnMenu.SetIcons(Icon(BLUE, CGalleryArt::SHAPE_DIAMOND));
}

void CGalleryDlg::ApplyMenuStyle(BOOL bFlat)
{
    m_bFlatMenus = bFlat;
    CSkinMenu::m_nDrawStyle = bFlat ? 1 : 0;
    m_btnMenu.SetDropMenu(IDR_GALLERY_MENU, m_hWnd);
    m_menus.Decorate(m_btnMenu.GetDropMenu());
    m_menus.BuildPopup();
}

CRect CGalleryDlg::BackdropRect() const
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_BACKDROP), &rc);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void CGalleryDlg::OnPaint()
{
    CPaintDC dc(this);
    CGalleryArt::PaintBackdrop(&dc, BackdropRect());
}

LRESULT CGalleryDlg::OnContextMenu(WPARAM, LPARAM lParam)
{
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (pt.x == -1 && pt.y == -1)
    {   // from the keyboard: at the window's top-left corner
        CRect rc;
        GetWindowRect(&rc);
        pt = rc.TopLeft();
    }
    m_menus.Popup().TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
    return 0;
}

LRESULT CGalleryDlg::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    // The popup itself is no submenu of another CSkinMenu, so it is asked directly.
    if (const LRESULT lResult = CSkinMenu::FindMnemonic(nChar, nFlags, pMenu))
        return lResult;
    return CDialog::OnMenuChar(nChar, nFlags, pMenu);
}

LRESULT CGalleryDlg::OnCommand(WPARAM wParam, LPARAM)
{
    const UINT nID = LOWORD(wParam);
    if (nID == IDCANCEL)
    {
        EndDialog(IDCANCEL);
        return 0;
    }
    const std::string strName = m_menus.CommandName(nID);
    if (strName.empty())
        return 0;
    CGalleryMenus::UpdateChecks(m_btnMenu.GetDropMenu(), nID);
    CGalleryMenus::UpdateChecks(m_menus.Popup(), nID);
    ::SetDlgItemTextA(m_hWnd, IDC_STATUS, ("Last command: " + strName).c_str());
    return 0;
}

void CGalleryDlg::OnBnClickedClassicStyle()
{
    ApplyMenuStyle(FALSE);
}

void CGalleryDlg::OnBnClickedFlatStyle()
{
    ApplyMenuStyle(TRUE);
}
