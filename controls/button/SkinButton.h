#pragma once
#include <windows.h>
#include <string>
#include "framework/Button.h"
#include "framework/DC.h"
#include "framework/MemDC.h"
#include "base/OwnedHandle.h"
#include "framework/ToolTipCtrl.h"
#include "controls/button/SkinButtonImages.h"
#include "controls/menu/SkinMenu.h"

class CSkinButtonPainter;

// An owner-drawn icon push button. Attach it to a button of a dialog template
// (DDX_Control or SubclassDlgItem): it turns the control owner-drawn and paints
// a face, a one-pixel border that follows the pointer and an icon or a masked
// bitmap, optionally with a caption.
//
// Ownership: an icon handed over as an OwnedIcon, and every bitmap, mask and
// hover cursor handed over at a setter marked "Adopts", becomes the button's
// property; it destroys them when it gets new ones and when it is destroyed.
// Do not destroy or share a handle after handing it over. A SharedIcon is
// held beside its other holders. ClearImages takes nothing: an icon the
// caller keeps stays the caller's.
//
// The button always lets its BN_CLICKED through, so the parent's click handler
// runs after the button's own work (focus, check toggle, drop-down menu, link).
class CSkinButton : public CButton
{
public:
    // Slots of the face colours.
    enum FaceColor
    {
        HotBack = 0,
        HotText = 1,
        IdleBack = 2,
        IdleText = 3,
        FocusBack = 4,
        FACE_COLOR_COUNT = 5
    };

    // Where the image stands relative to the caption.
    enum ImagePlacement : BYTE
    {
        ImageBeforeText = 0,
        ImageAboveText = 1,
        ImageAfterText = 2
    };

    // Passed as the idle icon to SetIcons(HICON, HICON): the idle icon becomes
    // a grey copy of the hot one.
    static inline const HICON AUTO_GRAY_ICON = reinterpret_cast<HICON>(static_cast<INT_PTR>(-2));

    CSkinButton();

    // ---- Images
    // Replaces all images with the hot icon and the idle icon (empty: none),
    // both handed over, and repaints; an empty hot icon clears the images.
    // Returns 0, or 1 when an icon cannot be read; then the button has no
    // images and has destroyed the icons handed to it.
    int SetIcons(OwnedIcon hot, OwnedIcon idle = OwnedIcon());
    // The same with a grey copy of the hot icon as the idle icon.
    int SetIconWithGrayIdle(OwnedIcon hot);
    // Lets go of all images and repaints.
    void ClearImages();
    // The same from raw handles: adopts hHot and hIdle (AUTO_GRAY_ICON: a grey
    // copy; hHot again: one icon for both); a NULL hHot only clears the images,
    // as ClearImages does, and leaves hIdle with the caller.
    int SetIcons(HICON hHot, HICON hIdle);
    // Shares. Replaces all images with one icon held together with the caller (a
    // picture cache, other buttons): the icon lives until its last holder lets
    // go. Repaints unless that icon alone is shown already.
    void SetIcon(const SharedIcon& icon);
    // Shares, like SetIcon, but neither repaints nor lets go of the icon shown
    // until now: it is handed back (empty when the button showed no shared
    // icon). For a caller in a step that must not wait for the window system
    // or destroy a picture: afterwards it repaints the button (Invalidate)
    // when the two differ, and lets go of the old icon.
    [[nodiscard]] SharedIcon SwapIcon(const SharedIcon& icon) noexcept;
    // Adopts. The same for bitmap images, each with its monochrome mask (white where
    // transparent; the image must be black there). A NULL mask draws the image
    // opaque. The idle pair is optional.
    int SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle = nullptr, HBITMAP hIdleMask = nullptr);

    // ---- Look
    // Flat style (the default): no 3-D edge, a border only while hot or
    // pressed, and hover tracking. The 3-D style never becomes hot.
    void SetFlat(BOOL bFlat);
    void SetShowBorder(BOOL bShowBorder) { SetAndRepaint(m_bShowBorder, bShowBorder); }
    void SetFocusWhenFlat(BOOL bFocusWhenFlat) { SetAndRepaint(m_bFocusWhenFlat, bFocusWhenFlat); }
    // Draws the window text as a caption beside the image.
    void SetShowCaption(BOOL bShowCaption) { SetAndRepaint(m_bShowCaption, bShowCaption); }
    void SetImagePlacement(ImagePlacement placement) { SetAndRepaint<BYTE>(m_byImagePlacement, placement); }
    void SetFaceColor(FaceColor color, COLORREF crColor);
    COLORREF GetFaceColor(FaceColor color) const;
    // Shows the parent's background (as it was at the first such paint)
    // instead of a face colour.
    void SetSeeThrough(BOOL bSeeThrough);
    // Draws a disabled button's bitmap embossed (the default) or unchanged.
    void SetDimDisabledBitmap(BOOL bDim) { SetAndRepaint(m_bDimDisabledBitmap, bDim); }

    // ---- Behaviour
    // Hover tracking also while no window of the program is active (the default).
    void SetTrackInactive(BOOL bTrackInactive) { m_bTrackInactive = bTrackInactive; }
    // A file, folder or address opened on click; NULL or "" for none. FALSE
    // (and the link unchanged) when it is longer than the button can hold.
    BOOL SetLink(const char* lpszLink);
    std::string GetLink() const { return m_szLink; }
    // Adopts. The cursor shown over the button (NULL: the class cursor).
    void SetHoverCursor(HCURSOR hCursor);
    // A tip shown when the pointer rests on the button; NULL or "" removes it.
    // FALSE when the tooltip cannot be made (no window yet).
    BOOL SetTooltipText(const char* lpszText);
    // Gives the button a drop-down menu: the first popup of menu template
    // nIDMenu opens below the button on click, and the command chosen from it
    // is posted to hTarget as WM_COMMAND once the menu has closed. FALSE (and
    // no menu) when the template cannot be loaded.
    BOOL SetDropMenu(UINT nIDMenu, HWND hTarget);
    // The loaded drop-down menu, for giving its items pictures; its first
    // popup is what opens.
    CSkinMenu& GetDropMenu() { return m_dropMenu; }

    // ---- Overrideables
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    const MessageMap* GetMessageMap() const override;
    static const MessageMap* GetThisMessageMap();

protected:
    friend class CSkinButtonPainter;

    void PreSubclassWindow() override;
    // Paint the face and its flat border in the look the painter worked out;
    // a derived class may replace them.
    virtual DWORD DrawFaceBackground(CDC* pDC, const CRect* pRect, const CSkinButtonPainter& painter);
    virtual DWORD DrawFaceBorder(CDC* pDC, const CRect* pRect, const CSkinButtonPainter& painter);

    // ---- Message map and handlers
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnSysColorChange();
    BOOL OnReflectedClick();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnCancelMode();
    UINT OnGetDlgCode();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    LRESULT OnSetStyleMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeaveMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheckMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheckMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    // ---- Implementation
    void Repaint();
    // Repaints after a change of images that succeeded (nResult 0); returns nResult.
    int RepaintUnlessFailed(int nResult);
    template <class T> void SetAndRepaint(T& rOption, T value)
    {
        rOption = value;
        Repaint();
    }
    void CancelHover();
    void OpenLink() const;
    // Tracks the drop-down menu below the button, drawn pressed meanwhile.
    void OpenDropMenu();
    // Repaints at once, so the look is right before what comes next runs.
    void RepaintNow();
    BOOL EnsureTooltip();
    // Copies the parent's background under the button, captured at the first call.
    void PaintParentBackground(CDC* pDC);

    // ---- Data members
    BOOL m_bDimDisabledBitmap = TRUE;
    BOOL m_bFlat = TRUE;
    BOOL m_bHot = FALSE;
    BOOL m_bSeeThrough = FALSE;
    BOOL m_bDefault = FALSE;   // the dialog's default push button
    BOOL m_bCheckMode = FALSE;
    BYTE m_byImagePlacement = ImageBeforeText;
    BOOL m_bShowBorder = TRUE;
    BOOL m_bFocusWhenFlat = FALSE;
    COLORREF m_crFace[FACE_COLOR_COUNT];   // system colours read by the constructor
    HWND m_hMenuTarget = nullptr;   // receives the command chosen from the drop-down menu
    BOOL m_bMenuOpen = FALSE;   // the drop-down menu is being tracked
    BOOL m_bShowCaption = FALSE;
    CSkinMenu m_dropMenu;   // the drop-down menu; holds no menu unless given one
    OwnedCursor m_hoverCursor;   // owned
    CToolTipCtrl m_tip;   // created by the first SetTooltipText
    CMemDC m_parentBack;   // the parent's background, captured by the first see-through paint
    BOOL m_bTrackInactive = TRUE;
    int m_nCheckState = 0;   // 0 or 1
    char m_szLink[MAX_PATH] = {};
    CSkinButtonImages m_images;   // owned, but for shared icons
};
