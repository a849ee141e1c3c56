#include "controls/menu/SkinMenuPainter.h"

#include "controls/menu/SkinMenu.h"
#include "controls/menu/SkinMenuEmboss.h"
#include "controls/menu/SkinMenuMemDC.h"
#include "controls/menu/SkinMenuTheme.h"
#include "framework/ImageList.h"
#include "framework/ScopedSelect.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace
{
    const UINT LABEL_FORMAT = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    const UINT ACCELERATOR_FORMAT = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

    COLORREF Lighten(double dFactor, COLORREF cr)
    {
        return CSkinMenuTheme::LightenColor(dFactor, cr);
    }

    COLORREF SysColor(int nIndex)
    {
        return ::GetSysColor(nIndex);
    }

    // Half of a length, rounded half up, never negative.
    int RoundedHalf(int nLength)
    {
        return std::max(0, static_cast<int>(nLength * 0.5 + 0.5));
    }

    void FrameIn(CDC* pDC, const CRect& rc, COLORREF cr)
    {
        pDC->Draw3dRect(rc, cr, cr);
    }
}

CSkinMenuPainter::CSkinMenuPainter(const CSkinMenu& menu, DRAWITEMSTRUCT& request)
    : m_menu(menu),
      m_request(request),
      m_record(*reinterpret_cast<const CSkinMenuData*>(request.itemData)),
      m_rcItem(request.rcItem),
      m_nImageWidth(menu.m_nImageWidth),
      m_nImageHeight(menu.m_nImageHeight),
      m_bSelected((request.itemState & ODS_SELECTED) != 0),
      m_bGrayed((request.itemState & ODS_GRAYED) != 0),
      m_bChecked((request.itemState & ODS_CHECKED) != 0)
{}

void CSkinMenuPainter::ResolveImage(bool bFlatStyle)
{
    m_nImageState = m_record.m_nImageState;
    m_nImage = m_record.m_nImage;
    m_pImages = m_record.m_pImages.get();
    // An item without a picture of its own shows the shared picture of its
    // command, if there is one (the flat style only when no index is set).
    m_bSharedImage = m_nImageState < 0 && m_record.m_nSharedImage >= 0 && (!bFlatStyle || m_nImage < 0);
    if (m_bSharedImage)
    {
        m_pImages = &CSkinMenu::m_SharedImages;
        m_nImage = m_record.m_nSharedImage;
        m_nImageState = 0;
    }

    m_imageCase = ImageCase::None;
    if (m_bChecked && m_nImageState < 0)
    {
        if ((m_bSelected && m_menu.m_nCheckImageSelected > 0) || m_menu.m_nCheckImageNormal > 0)
            m_imageCase = ImageCase::CheckPicture;
    }
    else if (m_nImageState != -1)
    {
        m_imageCase = ImageCase::Image;
    }
}

bool CSkinMenuPainter::NeedsCheckBox() const
{
    return m_nImageState < 0 && m_bChecked && m_imageCase != ImageCase::CheckPicture;
}

BOOL CSkinMenuPainter::IsRadioCheck() const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    const HMENU hMenu = reinterpret_cast<HMENU>(m_request.hwndItem);
    return ::GetMenuItemInfoA(hMenu, m_request.itemID, FALSE, &info) && info.hbmpChecked != nullptr;
}

void CSkinMenuPainter::DrawImage(CDC* pDC, int nImage, int x, int y) const
{
    if (m_pImages != nullptr)
        m_pImages->Draw(pDC, nImage, CPoint(x, y), ILD_TRANSPARENT);
}

void CSkinMenuPainter::DrawCheckPicture(CDC* pDC, int x, int y) const
{
    m_menu.GetCheckImages()->Draw(pDC, m_bSelected ? 1 : 0, CPoint(x, y), ILD_TRANSPARENT);
}

void CSkinMenuPainter::DrawDisabledImage(CDC* pDC, int x, int y, COLORREF crBack) const
{
    // An item may claim a picture without having a list to take it from.
    if (m_pImages == nullptr)
        return;
    CBitmap image;
    m_menu.MakeImageBitmap(m_nImage, pDC, m_pImages, image);
    if (m_menu.m_bEmbossByDib)
        CSkinMenuEmboss::DrawEmbossedDib(pDC, x, y, m_nImageWidth, m_nImageHeight, image, crBack);
    else
        CSkinMenuEmboss::DrawEmbossed(pDC, x, y, m_nImageWidth, m_nImageHeight, image, crBack);
}

void CSkinMenuPainter::DrawLabel(CDC* pDC, CRect rcText, const std::string& strText)
{
    // Label before the first tab, accelerator after the last one.
    const size_t nFirstTab = strText.find('\t');
    pDC->DrawText(strText.substr(0, nFirstTab), rcText, LABEL_FORMAT);
    if (nFirstTab != std::string::npos)
        pDC->DrawText(strText.substr(strText.rfind('\t') + 1), rcText, ACCELERATOR_FORMAT);
}

void CSkinMenuPainter::DrawItemText(CDC* pDC, CRect rcText, COLORREF crText, bool bEtched) const
{
    const std::string strText = m_record.GetTextA();
    if (strText.empty())
        return;
    if (strText.find('\t') != std::string::npos)
        rcText.right -= m_nImageWidth;
    const int nOldMode = pDC->GetBkMode();
    pDC->SetBkMode(TRANSPARENT);
    if (bEtched)
    {
        CRect rcEtch(rcText);
        rcEtch.OffsetRect(1, 1);
        pDC->SetTextColor(SysColor(COLOR_BTNHIGHLIGHT));
        DrawLabel(pDC, rcEtch, strText);
    }
    pDC->SetTextColor(crText);
    DrawLabel(pDC, rcText, strText);
    pDC->SetBkMode(nOldMode);
}

// ---- Classic style

void CSkinMenuPainter::DrawClassic()
{
    CDC* pDC = CDC::FromHandle(m_request.hDC);
    const CRect& rc = m_rcItem;
    const int W = m_nImageWidth;
    const int H = m_nImageHeight;
    const bool bThemed = CSkinMenu::IsThemedPlatform() != FALSE;
    const COLORREF crBack = SysColor(bThemed ? COLOR_BTNFACE : COLOR_MENU);
    COLORREF crText = SysColor(COLOR_MENUTEXT);
    CBrush brushBack(crBack);

    if (m_record.m_uMenuFlags & MF_SEPARATOR)
    {
        pDC->FillRect(rc, &brushBack);
        CRect rcLine(rc);
        rcLine.top = rc.top + (rc.bottom - rc.top) / 2;
        pDC->DrawEdge(rcLine, EDGE_ETCHED, BF_TOP);
        return;
    }

    ResolveImage(false);
    const bool bColumn = m_imageCase != ImageCase::None;
    if (m_bSelected)
    {
        CBrush brushSelect(SysColor(COLOR_HIGHLIGHT));
        const CRect rcFill = (bColumn || m_bChecked) ? CRect(rc.left + W + 5, rc.top, rc.right, rc.bottom) : rc;
        pDC->FillRect(rcFill, &brushSelect);
        crText = SysColor(COLOR_HIGHLIGHTTEXT);
    }
    else
    {
        pDC->FillRect(rc, &brushBack);
        FrameIn(pDC, rc, crBack);
    }

    const int dy = std::max(0, static_cast<int>(rc.bottom - rc.top - H - 4) / 2);
    const bool bFramed = CSkinMenuTheme::HasThreeDLook(CSkinMenu::m_nOsVersion);
    const COLORREF crShadow = SysColor(COLOR_BTNSHADOW);
    const COLORREF crLight = SysColor(COLOR_BTNHIGHLIGHT);
    if (bColumn)
    {
        const CRect rcInner(rc.left + 1, rc.top + dy + 1, rc.left + W + 3, rc.top + dy + H + 3);
        const CRect rcOuter(rc.left, rc.top + dy, rc.left + W + 4, rc.top + dy + H + 4);
        const int x = rc.left + 2;
        const int y = rc.top + dy + 2;
        FrameIn(pDC, rcInner, crBack);
        if (m_imageCase == ImageCase::CheckPicture && m_menu.GetCheckImages() != nullptr)
        {
            pDC->FillRect(rcInner, &brushBack);
            FrameIn(pDC, rcOuter, crBack);
            DrawCheckPicture(pDC, x, y);
        }
        else if (IsDisabledImage())
        {
            FrameIn(pDC, rcOuter, crBack);
            DrawDisabledImage(pDC, x, y, crBack);
        }
        else if (IsHotImage())
        {
            pDC->FillRect(rcInner, &brushBack);
            if (bFramed)
                pDC->Draw3dRect(rcOuter, m_bChecked ? crShadow : crLight, m_bChecked ? crLight : crShadow);
            DrawImage(pDC, m_nImage, x, y);
        }
        else
        {
            if (m_bChecked)
            {
                pDC->FillSolidRect(rcInner, Lighten(0.6, crBack));
                if (bFramed)
                    pDC->Draw3dRect(rcOuter, crShadow, crLight);
            }
            else
            {
                pDC->FillRect(rcInner, &brushBack);
                FrameIn(pDC, rcOuter, crBack);
            }
            DrawImage(pDC, m_nImage, x, y);
        }
    }

    if (NeedsCheckBox())
    {
        const CRect rcBox(rc.left + 1, rc.top + dy + 2, rc.left + W + 1, rc.top + dy + H + 2);
        DrawCheckBoxClassic(rcBox, pDC, m_bSelected, IsRadioCheck());
    }

    const CRect rcText(rc.left + W + 9, rc.top - 1, rc.right, rc.bottom - 1);
    if (!m_bGrayed)
        DrawItemText(pDC, rcText, crText, false);
    else if (m_bSelected)
        DrawItemText(pDC, rcText, crBack, false);
    else
        DrawItemText(pDC, rcText, SysColor(COLOR_GRAYTEXT), true);
}

// ---- Flat style

void CSkinMenuPainter::DrawFlat()
{
    const CRect& rc = m_rcItem;
    const int W = m_nImageWidth;
    const int H = m_nImageHeight;
    const int cw = W + 7;   // the image column
    const bool bThemed = CSkinMenu::IsThemedPlatform() != FALSE;
    const COLORREF crFace = bThemed ? SysColor(COLOR_BTNFACE) : Lighten(0.25, SysColor(COLOR_BTNFACE));
    const COLORREF crWindow = SysColor(COLOR_WINDOW);
    const COLORREF crHighlight = SysColor(COLOR_HIGHLIGHT);
    const COLORREF crSelect = Lighten(bThemed ? 0.7 : 0.85, crHighlight);
    const COLORREF crText = SysColor(COLOR_MENUTEXT);

    // A grayed item is never shown selected here; it is composed off-screen
    // and gets the menu font, which the memory DC does not have.
    CDC* pDC = CDC::FromHandle(m_request.hDC);
    CFont font;
    std::unique_ptr<CSkinMenuMemDC> pMemDC;
    std::optional<ScopedSelect> selectFont;
    if (m_bGrayed && !CSkinMenu::m_bHighlightGrayed)
    {
        m_request.itemState &= ~static_cast<UINT>(ODS_SELECTED);
        m_bSelected = false;
        pMemDC = std::make_unique<CSkinMenuMemDC>(pDC, rc);
        CSkinMenuTheme::CreateMenuFont(font);
        selectFont.emplace(*pMemDC, font);
        pDC = pMemDC.get();
    }
    CBrush brushWindow(crWindow);
    CBrush brushFace(crFace);
    CBrush brushSelect(crSelect);
    const CRect rcColumn(rc.left, rc.top, rc.left + cw, rc.bottom);

    if (m_record.m_uMenuFlags & MF_SEPARATOR)
    {
        pDC->FillRect(rc, &brushWindow);
        CRect rcLine(rc.left + cw + 7, rc.top + (rc.bottom - rc.top) / 2, rc.right, rc.bottom);
        pDC->DrawEdge(rcLine, EDGE_ETCHED, BF_TOP);
        pDC->FillRect(rcColumn, &brushFace);
        FrameIn(pDC, rcColumn, crFace);
        return;
    }

    ResolveImage(true);
    // A three-picture set: selected picture, unselected picture, shadow.
    bool bThreeSet = false;
    if (m_bSharedImage)
        bThreeSet = CSkinMenu::HasThreeImageSet(m_nImage) != FALSE;
    else if (m_nImage == 0 && m_pImages != nullptr)
        bThreeSet = m_pImages->GetImageCount() > 2;
    const int nUnselected = m_nImage + 1;
    const int nShadow = m_nImage + 2;

    if (m_bSelected)
    {
        pDC->FillRect(rc, &brushSelect);
        FrameIn(pDC, rc, crHighlight);
    }
    else
    {
        pDC->FillRect(rc, &brushWindow);
        pDC->FillRect(rcColumn, &brushFace);
        FrameIn(pDC, rc, crWindow);
        FrameIn(pDC, rcColumn, crFace);
    }

    const int dy = RoundedHalf(rc.bottom - rc.top - H);
    const int dx = RoundedHalf(cw - W);
    const CRect rcCell(rc.left + 1, rc.top + 1, rc.left + cw - 1, rc.bottom - 1);
    int x = rc.left + dx;
    int y = rc.top + dy;
    if (m_imageCase == ImageCase::CheckPicture && m_menu.GetCheckImages() != nullptr)
    {
        pDC->FillRect(rcCell, &brushFace);
        DrawCheckPicture(pDC, x, y);
    }
    else if (IsDisabledImage())
    {
        DrawDisabledImage(pDC, x, y, m_bSelected ? crSelect : crFace);
        if (m_bSelected)
            FrameIn(pDC, rc, crHighlight);
    }
    else if (IsHotImage())
    {
        pDC->FillRect(rcCell, &brushSelect);
        if (m_bChecked)
        {
            FrameIn(pDC, rcCell, crHighlight);
            --x;
            --y;
        }
        if (bThreeSet && !m_bChecked)
        {
            DrawImage(pDC, nShadow, x + 1, y + 1);
            DrawImage(pDC, m_nImage, x - 1, y - 1);
        }
        else
        {
            DrawImage(pDC, m_nImage, x, y);
        }
    }
    else if (m_imageCase != ImageCase::None)
    {
        if (m_bChecked)
        {
            pDC->FillSolidRect(rcCell, Lighten(0.85, crHighlight));
            FrameIn(pDC, rcCell, crHighlight);
            DrawImage(pDC, m_nImage, x - 1, y - 1);
        }
        else
        {
            pDC->FillRect(rcCell, &brushFace);
            FrameIn(pDC, rcCell, crFace);
            DrawImage(pDC, bThreeSet ? nUnselected : m_nImage, x, y);
        }
    }

    if (NeedsCheckBox())
    {
        const CRect rcBox(
            CPoint(rc.left + RoundedHalf(cw - 16), rc.top + RoundedHalf(rc.bottom - rc.top - 16)), CSize(16, 16)
        );
        DrawCheckBoxFlat(crHighlight, rcBox, pDC, IsRadioCheck());
    }

    COLORREF crItemText = crText;
    if (m_bGrayed)
    {
        crItemText = SysColor(COLOR_GRAYTEXT);
        if (!bThemed && !m_bSelected)
            crItemText = Lighten(0.4, crItemText);
    }
    DrawItemText(pDC, CRect(rc.left + W + 15, rc.top - 1, rc.right, rc.bottom - 1), crItemText, false);
}

// ---- Check marks

void CSkinMenuPainter::DrawCheckBoxClassic(const CRect& rcBox, CDC* pDC, BOOL bSelected, BOOL bRadio)
{
    COLORREF crFill = SysColor(CSkinMenu::IsThemedPlatform() ? COLOR_BTNFACE : COLOR_MENU);
    if (!bSelected)
        crFill = Lighten(0.6, crFill);
    pDC->FillSolidRect(rcBox, crFill);
    if (CSkinMenuTheme::HasThreeDLook(CSkinMenu::m_nOsVersion))
    {
        CRect rcEdge(rcBox);
        pDC->DrawEdge(rcEdge, BDR_SUNKENOUTER, BF_RECT);
    }
    const COLORREF crGlyph = SysColor(COLOR_MENUTEXT);
    if (bRadio)
        DrawRadioDot(crGlyph, rcBox.left + 5, rcBox.top + 4, pDC);
    else
        DrawCheckGlyph(crGlyph, rcBox.left + 4, rcBox.top + 4, pDC);
}

void CSkinMenuPainter::DrawCheckBoxFlat(COLORREF crHighlight, const CRect& rcBox, CDC* pDC, BOOL bRadio)
{
    pDC->FillSolidRect(rcBox, Lighten(0.85, crHighlight));
    FrameIn(pDC, rcBox, crHighlight);
    const COLORREF crGlyph = SysColor(COLOR_MENUTEXT);
    if (bRadio)
        DrawRadioDot(crGlyph, rcBox.left + 5, rcBox.top + 4, pDC);
    else
        DrawCheckGlyph(crGlyph, rcBox.left + 5, rcBox.top + 4, pDC);
}

void CSkinMenuPainter::DrawRadioDot(COLORREF crColor, int x, int y, CDC* pDC)
{
    CPen pen(PS_SOLID, 1, crColor);
    CBrush brush(crColor);
    const ScopedSelect selectPen(*pDC, pen);
    const ScopedSelect selectBrush(*pDC, brush);
    pDC->Ellipse(x, y, x + 6, y + 6);
}

void CSkinMenuPainter::DrawCheckGlyph(COLORREF crColor, int x, int y, CDC* pDC)
{
    // Seven three-pixel vertical strokes: down to the tip, then up the long arm.
    static const int STROKE_TOP[7] = {2, 3, 4, 3, 2, 1, 0};
    CPen pen(PS_SOLID, 1, crColor);
    const ScopedSelect selectPen(*pDC, pen);
    for (int i = 0; i < 7; ++i)
    {
        pDC->MoveTo(x + i, y + STROKE_TOP[i]);
        pDC->LineTo(x + i, y + STROKE_TOP[i] + 3);
    }
}
