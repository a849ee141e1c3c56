#pragma once
#include "framework/Wnd.h"

// A push button, check box or radio button control. An owner-drawn button
// (BS_OWNERDRAW) paints itself in DrawItem: its parent reflects WM_DRAWITEM
// (and WM_MEASUREITEM) back to it.
class CButton : public CWnd
{
public:
    BOOL Create(const char* lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    // ---- Overrideables
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    const MessageMap* GetMessageMap() const override;
    static const MessageMap* GetThisMessageMap();
};
