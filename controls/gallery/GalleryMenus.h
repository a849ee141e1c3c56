#pragma once
// The gallery's two owner-drawn menus and the pictures they show. The
// drop-down menu comes from a template (the Menu button loads it) and is
// given its pictures here; the popup menu is built item by item, with a
// submenu the gallery itself owns.

#include "controls/menu/SkinMenu.h"
#include "framework/Bitmap.h"
#include "framework/ImageList.h"

#include <string>

class CGalleryMenus
{
public:
    // Draws the pictures the menus share: the three-picture sets (found by
    // command id) and the check pictures.
    CGalleryMenus();
    CGalleryMenus(const CGalleryMenus&) = delete;
    CGalleryMenus& operator=(const CGalleryMenus&) = delete;

    // Gives a freshly loaded drop-down menu its item pictures, check
    // pictures and radio items.
    void Decorate(CSkinMenu& dropDown);
    // (Re)builds the popup menu; measured anew in the current style.
    void BuildPopup();
    CSkinMenu& Popup() { return m_popup; }

    // Checks or unchecks a toggle item, or moves the check of a radio group
    // to the chosen item, in whichever menu holds it.
    static void UpdateChecks(HMENU hMenu, UINT nID);
    // What the menus call a command: its label without mnemonic marks and
    // shortcut ("Save As..."); empty when no item has that id.
    std::string CommandName(UINT nID) const;

private:
    void GivePicture(CSkinMenuData& record) const;
    void MarkRadioItems(HMENU hMenu, const UINT* pIDs, int nCount);

    CImageList m_checkPictures;   // 0: unselected, 1: selected
    CBitmap m_radioMark;   // its presence makes a checked item a radio item
    CSkinMenu* m_pDropDown = nullptr;
    CSkinMenu m_popup;
    CSkinMenu m_zoom;   // the popup's submenu, appended by handle: ours, not the popup's
};
