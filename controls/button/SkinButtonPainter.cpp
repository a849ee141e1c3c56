#include "controls/button/SkinButtonPainter.h"

#include "controls/button/SkinButton.h"
#include "framework/Brush.h"
#include "framework/Pen.h"
#include "framework/ScopedSaveDC.h"
#include "framework/ScopedSelect.h"

namespace
{
    constexpr UINT CAPTION_FORMAT = DT_WORDBREAK | DT_CENTER;
    constexpr COLORREF WHITE = RGB(255, 255, 255);
    constexpr COLORREF BLACK = RGB(0, 0, 0);

    // Copies an image onto a DC through its mask: the mask's white keeps what is
    // there, its black takes the image. Without a mask the image is opaque.
    void BlitMasked(CDC& dcTarget, int x, int y, int cx, int cy, CDC& dcImage, CDC* pMaskDC)
    {
        if (pMaskDC == nullptr)
        {
            dcTarget.BitBlt(x, y, cx, cy, &dcImage, 0, 0, SRCCOPY);
            return;
        }
        dcTarget.BitBlt(x, y, cx, cy, pMaskDC, 0, 0, SRCAND);
        dcTarget.BitBlt(x, y, cx, cy, &dcImage, 0, 0, SRCPAINT);
    }
}   // namespace

CSkinButtonPainter::CSkinButtonPainter(CSkinButton& button, const DRAWITEMSTRUCT& request)
    : m_button(button),
      m_pDC(CDC::FromHandle(request.hDC)),
      m_rcItem(request.rcItem),
      // The button stays pressed for as long as its drop-down menu is open.
      m_bPressedLook(
          (request.itemState & ODS_SELECTED) != 0 || (button.m_bCheckMode && button.m_nCheckState != 0) ||
          (!button.m_bCheckMode && button.m_dropMenu.m_hMenu != nullptr && button.m_bMenuOpen)
      ),
      m_bFocusLook((request.itemState & ODS_FOCUS) != 0),
      m_bDisabledLook((request.itemState & ODS_DISABLED) != 0)
{}

void CSkinButtonPainter::Paint()
{
    // The DC is the owner's: it gets its modes and colours back.
    const ScopedSaveDC saveDC(*m_pDC);
    const CSkinButton& button = m_button;

    CRect rcFace(m_rcItem);
    m_pDC->SetBkMode(TRANSPARENT);
    if (!button.m_bFlat && (m_bFocusLook || button.m_bDefault))
    {
        CBrush brFrame(BLACK);
        m_pDC->FrameRect(&rcFace, &brFrame);
        rcFace.DeflateRect(1, 1);
    }

    if (button.m_bSeeThrough)
        m_button.PaintParentBackground(m_pDC);
    else
        m_button.DrawFaceBackground(m_pDC, &rcFace, *this);

    if (button.m_bFlat)
    {
        if (button.m_bShowBorder && (m_bPressedLook || button.m_bHot))
            m_button.DrawFaceBorder(m_pDC, &rcFace, *this);
    }
    else if (m_bPressedLook)
    {
        CBrush brShadow(::GetSysColor(COLOR_BTNSHADOW));
        m_pDC->FrameRect(&rcFace, &brShadow);
    }
    else
    {
        Draw3dEdge(rcFace);
    }

    const std::string strCaption = button.m_bShowCaption ? button.GetWindowText() : std::string();
    const BOOL bHasCaption = !strCaption.empty();
    CRect rcCaption(m_rcItem);
    if (button.m_images.Icon(0))
        DrawIconImage(bHasCaption, rcCaption);
    if (button.m_images.Bitmap(0).image)
    {
        m_pDC->SetBkColor(WHITE);
        DrawBitmapImage(bHasCaption, rcCaption);
    }
    if (bHasCaption)
        DrawCaption(strCaption, rcCaption);

    if (m_bFocusLook && (!button.m_bFlat || button.m_bFocusWhenFlat))
    {
        CRect rcFocus(rcFace);
        rcFocus.DeflateRect(3, 3);
        m_pDC->DrawFocusRect(&rcFocus);
    }
}

void CSkinButtonPainter::Draw3dEdge(const CRect& rcFace) const
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
    for (const auto& line : lines)
    {
        CPen pen(PS_SOLID, 0, ::GetSysColor(line.nColor));
        ScopedSelect selectPen(m_pDC->m_hDC, pen.m_hObject);
        m_pDC->MoveTo(line.path[0]);
        m_pDC->LineTo(line.path[1]);
        m_pDC->LineTo(line.path[2]);
    }
}

int CSkinButtonPainter::ChooseSlot(BOOL bIdleSet) const
{
    // The idle image shows while the button is neither pressed nor lit; a check
    // box keeps it while hot, as hover does not change its state.
    return bIdleSet && !m_bPressedLook && (m_button.m_bCheckMode || !m_button.m_bHot) ? 1 : 0;
}

void CSkinButtonPainter::PlaceImage(BOOL bHasCaption, CRect& rcImage, CRect& rcCaption, DWORD dwWidth, DWORD dwHeight)
    const
{
    const int cx = static_cast<int>(dwWidth);
    const int cy = static_cast<int>(dwHeight);
    // Signed halvings that round toward zero: an image larger than the item
    // starts at a small negative offset.
    const int xCentred = m_rcItem.left + (m_rcItem.Width() - cx) / 2;
    const int yCentred = m_rcItem.top + (m_rcItem.Height() - cy) / 2;

    rcImage = m_rcItem;
    switch (m_button.m_byImagePlacement)
    {
    case CSkinButton::ImageBeforeText:
        if (bHasCaption)
        {
            rcImage.left = m_rcItem.left + 3;
            rcCaption.left += cx + 3;
        }
        else
        {
            rcImage.left = xCentred;
        }
        rcImage.top = yCentred;
        break;
    case CSkinButton::ImageAboveText:
        rcImage.left = xCentred;
        if (bHasCaption)
        {
            rcImage.top = 3;
            rcCaption.top += cy;
        }
        else
        {
            rcImage.top = yCentred;
        }
        break;
    case CSkinButton::ImageAfterText:
        if (bHasCaption)
        {
            CRect rcClient;
            m_button.GetClientRect(&rcClient);
            rcImage.left = rcClient.right - cx - 3;
            rcCaption.right = rcCaption.right - rcCaption.left - cx - 3;
            rcCaption.left = 3;
            rcImage.top = yCentred;
        }
        else
        {
            rcImage.left = xCentred;
        }
        break;
    default: break;
    }
    if (m_bPressedLook && !m_button.m_bCheckMode)
        rcImage.OffsetRect(1, 1);
}

void CSkinButtonPainter::DrawIconImage(BOOL bHasCaption, CRect& rcCaption) const
{
    const CSkinButtonImages& images = m_button.m_images;
    const SharedIcon& icon = images.Icon(ChooseSlot(static_cast<bool>(images.Icon(1))));
    CRect rcImage;
    PlaceImage(bHasCaption, rcImage, rcCaption, icon.Width(), icon.Height());
    m_pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), icon.Handle(), m_bDisabledLook ? DSS_DISABLED : DSS_NORMAL);
}

void CSkinButtonPainter::DrawBitmapImage(BOOL bHasCaption, CRect& rcCaption) const
{
    const CSkinButtonImages& images = m_button.m_images;
    const CSkinButtonImages::BitmapSlot& slot = images.Bitmap(ChooseSlot(images.Bitmap(1).image != nullptr));
    CRect rcImage;
    PlaceImage(bHasCaption, rcImage, rcCaption, slot.dwWidth, slot.dwHeight);
    const int cx = static_cast<int>(slot.dwWidth);
    const int cy = static_cast<int>(slot.dwHeight);

    CDC dcImage;
    CDC dcMask;
    if (!dcImage.CreateCompatibleDC(m_pDC) || !dcMask.CreateCompatibleDC(nullptr))
        return;
    ScopedSelect selectImage(dcImage.m_hDC, slot.Image());
    ScopedSelect selectMask(dcMask.m_hDC, slot.Mask());
    CDC* pMaskDC = slot.mask ? &dcMask : nullptr;

    if (m_bDisabledLook && m_button.m_bDimDisabledBitmap)
    {
        // Compose the image on white first, so the disabled effect sees its shape.
        CBitmap bmpComposed;
        CDC dcComposed;
        if (!bmpComposed.CreateCompatibleBitmap(m_pDC, cx, cy) || !dcComposed.CreateCompatibleDC(m_pDC))
            return;
        {
            ScopedSelect selectComposed(dcComposed, bmpComposed);
            dcComposed.FillSolidRect(0, 0, cx, cy, WHITE);
            dcComposed.SetBkColor(WHITE);
            dcComposed.SetTextColor(BLACK);
            BlitMasked(dcComposed, 0, 0, cx, cy, dcImage, pMaskDC);
        }
        m_pDC->DrawState(rcImage.TopLeft(), CSize(cx, cy), static_cast<HBITMAP>(bmpComposed.m_hObject), DSS_DISABLED);
        return;
    }
    // A monochrome mask takes the target's text colour for its black and the
    // background colour for its white.
    m_pDC->SetTextColor(BLACK);
    BlitMasked(*m_pDC, rcImage.left, rcImage.top, cx, cy, dcImage, pMaskDC);
}

void CSkinButtonPainter::DrawCaption(const std::string& strCaption, CRect rcCaption) const
{
    if (m_bPressedLook && !m_button.m_bCheckMode)
        rcCaption.OffsetRect(1, 1);
    const CRect rcArea(rcCaption);
    m_pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT | DT_CALCRECT);
    rcCaption.OffsetRect((rcArea.Width() - rcCaption.Width()) / 2, (rcArea.Height() - rcCaption.Height()) / 2);
    m_pDC->SetBkMode(TRANSPARENT);

    if (m_bDisabledLook)
    {
        // Embossed: highlight one pixel down and right, shadow over it.
        rcCaption.OffsetRect(1, 1);
        m_pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        m_pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT);
        rcCaption.OffsetRect(-1, -1);
        m_pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        m_pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT);
        return;
    }
    const BOOL bHotColors = m_button.m_bHot || m_bPressedLook;
    m_pDC->SetTextColor(m_button.m_crFace[bHotColors ? CSkinButton::HotText : CSkinButton::IdleText]);
    m_pDC->SetBkColor(m_button.m_crFace[bHotColors ? CSkinButton::HotBack : CSkinButton::IdleBack]);
    m_pDC->DrawText(strCaption, &rcCaption, CAPTION_FORMAT);
}
