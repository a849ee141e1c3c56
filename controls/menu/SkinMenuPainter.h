#pragma once
// Paints one item of a CSkinMenu in answer to WM_DRAWITEM, in the classic
// 3-D style or the flat style with an image column. One painter per request:
// every value is worked out afresh from the item's record.

#include "framework/DC.h"

#include <string>

class CImageList;
class CSkinMenu;
class CSkinMenuData;

class CSkinMenuPainter
{
public:
    CSkinMenuPainter(const CSkinMenu& menu, DRAWITEMSTRUCT& request);

    void DrawClassic();
    // A grayed item is drawn unselected unless the menu highlights grayed
    // items; the cleared ODS_SELECTED is written back into the request.
    void DrawFlat();

    // Check marks of items without a picture of their own.
    static void DrawCheckBoxClassic(const CRect& rcBox, CDC* pDC, BOOL bSelected, BOOL bRadio);
    static void DrawCheckBoxFlat(COLORREF crHighlight, const CRect& rcBox, CDC* pDC, BOOL bRadio);
    static void DrawRadioDot(COLORREF crColor, int x, int y, CDC* pDC);
    static void DrawCheckGlyph(COLORREF crColor, int x, int y, CDC* pDC);

private:
    // What the image column shows, worked out by ResolveImage.
    enum class ImageCase
    {
        None,
        CheckPicture,   // checked, no picture of its own, a check picture declared
        Image,   // the item's picture (own or shared)
    };

    void ResolveImage(bool bFlatStyle);
    bool IsHotImage() const { return m_imageCase == ImageCase::Image && m_bSelected && !m_bGrayed; }
    bool IsDisabledImage() const { return m_imageCase == ImageCase::Image && m_bGrayed; }
    bool NeedsCheckBox() const;
    // The item carries a checked-state bitmap: its check mark is a radio dot.
    BOOL IsRadioCheck() const;
    void DrawImage(CDC* pDC, int nImage, int x, int y) const;
    void DrawCheckPicture(CDC* pDC, int x, int y) const;
    void DrawDisabledImage(CDC* pDC, int x, int y, COLORREF crBack) const;
    void DrawItemText(CDC* pDC, CRect rcText, COLORREF crText, bool bEtched) const;
    static void DrawLabel(CDC* pDC, CRect rcText, const std::string& strText);

    const CSkinMenu& m_menu;
    DRAWITEMSTRUCT& m_request;
    const CSkinMenuData& m_record;
    const CRect m_rcItem;
    const int m_nImageWidth;
    const int m_nImageHeight;
    bool m_bSelected;
    const bool m_bGrayed;
    const bool m_bChecked;

    int m_nImageState = -1;
    int m_nImage = -1;
    CImageList* m_pImages = nullptr;
    bool m_bSharedImage = false;
    ImageCase m_imageCase = ImageCase::None;
};
