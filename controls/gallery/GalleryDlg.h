#pragma once
// The gallery's one window: every option of CSkinButton on a button of its
// own, the Menu button's drop-down menu and a popup menu on right-click, in
// the menu style chosen with the two radio buttons. The last command chosen
// from either menu shows in the status line at the bottom.

#include "controls/button/SkinButton.h"
#include "controls/gallery/GalleryMenus.h"
#include "framework/Dialog.h"

#include <vector>

class CGalleryDlg : public CDialog
{
public:
    // bFlatMenus: start with the flat menu style instead of the classic one.
    explicit CGalleryDlg(BOOL bFlatMenus);

    // ---- Overrideables
    BOOL OnInitDialog() override;
    const MessageMap* GetMessageMap() const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // ---- Message map and handlers
    void OnPaint();
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void OnBnClickedClassicStyle();
    void OnBnClickedFlatStyle();

    // ---- Implementation
    void SetUpButtons();
    // Sets the class-wide menu style and rebuilds both menus, so they are
    // measured in it.
    void ApplyMenuStyle(BOOL bFlat);
    CRect BackdropRect() const;

    // ---- Data members
    BOOL m_bFlatMenus;
    CGalleryMenus m_menus;
    CSkinButton m_btnFlat;
    CSkinButton m_btn3D;
    CSkinButton m_btnDefault;
    CSkinButton m_btnCheck;
    CSkinButton m_btnChecked;
    CSkinButton m_btnGrey;
    CSkinButton m_btnDisabledIcon;
    CSkinButton m_btnBitmaps;
    CSkinButton m_btnDisabledText;
    CSkinButton m_btnBefore;
    CSkinButton m_btnAbove;
    CSkinButton m_btnAfter;
    CSkinButton m_btnCursor;
    CSkinButton m_btnTooltip;
    CSkinButton m_btnLink;
    CSkinButton m_btnSeeThrough;
    CSkinButton m_btnMenu;
};
