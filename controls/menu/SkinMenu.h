#pragma once
// An owner-drawn menu. Every item is backed by a CSkinMenuData record that
// the menu owns and passes as the item's owner-draw data; the menu measures
// and paints its items itself, in a classic 3-D style or a flat style with an
// image column.
//
// Ownership: the menu owns its records and the child menus LoadFromResource
// makes (m_OwnedPopups), which DestroyAll deletes. A popup a caller appends by
// handle stays the caller's (m_AppendedPopups): when a menu object holds it,
// DestroyAll takes it out first, so it lives on with that object; a bare
// handle the platform destroys with the parent's menu, as any submenu.

#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "controls/menu/SkinMenuData.h"

#include <memory>
#include <string>
#include <vector>

class CSkinMenu : public CMenu
{
public:
    CSkinMenu();
    ~CSkinMenu() override;

    // Overrideables
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Builds the whole menu tree from a standard menu template. FALSE when
    // the resource is missing or a menu cannot be created; a template that
    // ends inside an open popup raises CInvalidArgException, leaving the
    // menu empty.
    virtual BOOL LoadFromResource(UINT nIDResource);
    virtual BOOL LoadFromResource(LPCSTR lpszResourceName);
    // Deletes the child menus, the records and the platform menu.
    virtual BOOL DestroyAll();

    // Operations
    // Appends an owner-drawn item; id 0 makes a separator, MF_POPUP makes id
    // a popup's handle, which the menu lists but never deletes. Returns what
    // AppendMenu returns.
    BOOL AppendItem(const wchar_t* pwszText, UINT nFlags, UINT_PTR nID);
    // Replaces the item at nPosition and returns its new record, which the
    // caller adds to m_Items.
    std::unique_ptr<CSkinMenuData> ReplaceItemAt(UINT nPosition, UINT_PTR nID, const char* pszText, UINT nFlags);
    // Number of foreign items a frame inserted ahead of a loaded menu's own.
    int GetPositionOffset() const;
    // Turns the loaded top level's popups back into plain text popups.
    void RestoreTopLevelPopups();
    // Pads the labels of "label\taccelerator" texts with spaces so that the
    // accelerators line up.
    void AlignAccelerators();
    // Rebuilds the records after others changed the platform menu: keeps the
    // records of items still there, takes over foreign items as owner-drawn.
    void SynchronizeRecords();
    // FALSE for an index outside the records.
    BOOL GetItemText(int nIndex, std::string& strText) const;
    CSkinMenuData* ClaimRecord(UINT_PTR nID);
    void DeleteUnclaimedRecords();
    int GetRecordCount() const { return static_cast<int>(m_Items.size()); }
    // The record at nIndex; raises CInvalidArgException outside the records.
    CSkinMenuData& GetRecord(int nIndex) const;

    // TRUE when the menu is a popup appended to some CSkinMenu.
    static BOOL IsOwnPopup(const CMenu* pMenu);
    static BOOL IsOwnPopupHandle(HMENU hMenu);
    // The WM_MENUCHAR answer for a CSkinMenu popup: MNC_EXECUTE for the
    // first item whose text holds "&" + nChar (case-insensitive), else 0.
    static LRESULT FindMnemonic(UINT nChar, UINT nFlags, CMenu* pMenu);
    // The platform draws themed menus (XP with a theme other than classic).
    static BOOL IsThemedPlatform();
    // TRUE when shared pictures n, n + 1 and n + 2 form a three-picture set.
    static BOOL HasThreeImageSet(int n);
    // Renders picture nImage of pImages into a new bitmap of the menu's image
    // cell size on a COLOR_BTNFACE background.
    BOOL MakeImageBitmap(int nImage, CDC* pDC, CImageList* pImages, CBitmap& bitmap) const;
    // Check pictures for checked items (0 unselected, 1 selected), also for
    // the child menus a later LoadFromResource makes. Lent: the list stays
    // the caller's and must outlive the menus; no menu ever destroys it.
    void LendCheckImages(CImageList& images) { m_pCheckImages = &images; }
    CImageList* GetCheckImages() const { return m_pCheckImages; }

    // Data members
    std::vector<std::unique_ptr<CSkinMenuData>> m_Items;   // one per position
    std::vector<std::unique_ptr<CSkinMenu>> m_OwnedPopups;   // made by LoadFromResource
    std::vector<HMENU> m_AppendedPopups;   // appended by a caller; not ours to delete
    int m_nImageWidth = 16;
    int m_nImageHeight = 15;
    BOOL m_bEmbossByDib = FALSE;   // disabled pictures through the DIB mask
    int m_nCheckImageSelected = -1;   // > 0: a selected check picture exists
    int m_nCheckImageNormal = -1;   // > 0: an unselected check picture exists
    BOOL m_bLoadedFromResource = FALSE;

    // Class-wide data
    static CImageList m_SharedImages;
    static std::vector<int> m_SharedImageIds;   // command id of each shared picture
    static std::vector<HMENU> m_AllPopupHandles;
    static int m_nOsVersion;   // CSkinMenuTheme::GetOsVersionCode at start-up
    static int m_nDrawStyle;   // 1: always the flat style
    static BOOL m_bHighlightGrayed;   // flat style: grayed items may show selected

private:
    CImageList* m_pCheckImages = nullptr;   // lent (see LendCheckImages)

    BOOL AppendOwnerDrawnItem(const wchar_t* pwszText, UINT nFlags, UINT_PTR nID);
    // Appends a popup this menu makes and owns.
    CSkinMenu* AppendOwnedPopup(const wchar_t* pwszText, UINT nFlags, std::unique_ptr<CSkinMenu> pPopup);
    BOOL BuildFromTemplate(const void* pTemplate, size_t cbTemplate);
    void ConvertTopLevel();
    void RemoveFromPopupList(HMENU hMenu);
    // Takes the popups callers appended out of the platform menu, so that
    // destroying it leaves them to their owners.
    void ReleaseAppendedPopups();
    CSkinMenuData* AddRecord(std::unique_ptr<CSkinMenuData> pRecord);
};
