#pragma once
#include <windows.h>
#include <string>
#include "framework/Rect.h"

class CDC;
class CSkinButton;

// Paints a CSkinButton in answer to WM_DRAWITEM. One painter per request: the
// look (pressed, focused, disabled) is worked out from the request and the
// button's state, and the owner's DC gets its state back at the end.
class CSkinButtonPainter
{
public:
    CSkinButtonPainter(CSkinButton& button, const DRAWITEMSTRUCT& request);

    void Paint();

    BOOL IsPressedLook() const { return m_bPressedLook; }
    BOOL IsFocusLook() const { return m_bFocusLook; }
    BOOL IsDisabledLook() const { return m_bDisabledLook; }

private:
    void Draw3dEdge(const CRect& rcFace) const;
    // The image slot drawn now: 1 (idle) or 0 (hot).
    int ChooseSlot(BOOL bIdleSet) const;
    void PlaceImage(BOOL bHasCaption, CRect& rcImage, CRect& rcCaption, DWORD dwWidth, DWORD dwHeight) const;
    void DrawIconImage(BOOL bHasCaption, CRect& rcCaption) const;
    void DrawBitmapImage(BOOL bHasCaption, CRect& rcCaption) const;
    void DrawCaption(const std::string& strCaption, CRect rcCaption) const;

    CSkinButton& m_button;
    CDC* const m_pDC;
    const CRect m_rcItem;
    const BOOL m_bPressedLook;
    const BOOL m_bFocusLook;
    const BOOL m_bDisabledLook;
};
