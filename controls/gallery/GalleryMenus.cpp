#include "controls/gallery/GalleryMenus.h"

#include "controls/gallery/GalleryArt.h"
#include "controls/gallery/resource.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace
{
    struct MenuPicture
    {
        UINT nID;
        COLORREF crShape;
        CGalleryArt::Shape shape;
    };

    // Items with a picture of their own, each in an image list of its own.
    const MenuPicture ITEM_PICTURES[] = {
        {ID_GALLERY_NEW, RGB(245, 245, 235), CGalleryArt::SHAPE_PAGE},
        {ID_GALLERY_OPEN, RGB(240, 190, 60), CGalleryArt::SHAPE_FOLDER},
        {ID_GALLERY_SAVE, RGB(60, 110, 200), CGalleryArt::SHAPE_SQUARE},
        {ID_GALLERY_SAVE_AS, RGB(60, 110, 200), CGalleryArt::SHAPE_SQUARE},
        {ID_GALLERY_DELETE, RGB(210, 50, 50), CGalleryArt::SHAPE_CROSS},
        {ID_GALLERY_CUT, RGB(160, 80, 200), CGalleryArt::SHAPE_DIAMOND},
        {ID_GALLERY_COPY, RGB(100, 160, 230), CGalleryArt::SHAPE_PAGE},
        {ID_GALLERY_PASTE, RGB(200, 150, 80), CGalleryArt::SHAPE_FOLDER},
        {ID_GALLERY_PROPERTIES, RGB(230, 170, 30), CGalleryArt::SHAPE_STAR},
    };

    // Commands whose pictures come as three-picture sets from the shared list:
    // selected, unselected (muted) and the shadow under the selected one.
    const MenuPicture SHARED_SETS[] = {
        {ID_GALLERY_REFRESH, RGB(40, 170, 80), CGalleryArt::SHAPE_ARROW},
        {ID_GALLERY_SYNC, RGB(40, 120, 210), CGalleryArt::SHAPE_PLUS},
    };

    const UINT VIEW_RADIO_GROUP[] = {ID_GALLERY_LARGE, ID_GALLERY_SMALL, ID_GALLERY_DETAILS};
    const UINT ZOOM_RADIO_GROUP[] = {ID_GALLERY_ZOOM_50, ID_GALLERY_ZOOM_100, ID_GALLERY_ZOOM_200};
    const UINT TOGGLES[] = {ID_GALLERY_TOOLBAR, ID_GALLERY_STATUS_BAR, ID_GALLERY_WRAP, ID_GALLERY_GRID};

    struct PopupItem
    {
        const wchar_t* pwszText;
        UINT nID;   // 0: separator
        UINT nFlags;
    };

    const PopupItem POPUP_ITEMS[] = {
        {L"Cu&t\tCtrl+X", ID_GALLERY_CUT, 0},
        {L"&Copy\tCtrl+C", ID_GALLERY_COPY, 0},
        {L"&Paste\tCtrl+V", ID_GALLERY_PASTE, MF_GRAYED},
        {L"Select &all\tCtrl+A", ID_GALLERY_SELECT_ALL, 0},
        {nullptr, 0, 0},
        {L"&Refresh\tF5", ID_GALLERY_REFRESH, 0},
        {L"Show &grid", ID_GALLERY_GRID, MF_CHECKED},
    };

    const PopupItem ZOOM_ITEMS[] = {
        {L"&50 %", ID_GALLERY_ZOOM_50, 0},
        {L"&100 %\tCtrl+0", ID_GALLERY_ZOOM_100, MF_CHECKED},
        {L"&200 %", ID_GALLERY_ZOOM_200, 0},
    };

    const PopupItem POPUP_TAIL[] = {
        {nullptr, 0, 0},
        {L"Pr&operties of the selection, in a long item text\tAlt+Enter", ID_GALLERY_PROPERTIES, 0},
    };

    template <size_t N> void AppendItems(CSkinMenu& menu, const PopupItem (&items)[N])
    {
        for (const PopupItem& item : items)
            menu.AppendItem(item.pwszText, item.nFlags, item.nID);
    }

    template <size_t N> bool Contains(const UINT (&ids)[N], UINT nID)
    {
        return std::find(std::begin(ids), std::end(ids), nID) != std::end(ids);
    }

    // "Save &As...\tCtrl+Shift+S" (padded before the tab) -> "Save As..."
    std::string PlainLabel(std::string strText)
    {
        strText = strText.substr(0, strText.find('\t'));
        strText.erase(strText.find_last_not_of(' ') + 1);
        std::string strPlain;
        for (size_t i = 0; i < strText.size(); ++i)
        {
            if (strText[i] == '&' && i + 1 < strText.size())
                ++i;   // "&x" shows x, "&&" shows one ampersand
            strPlain += strText[i];
        }
        return strPlain;
    }

    // The record of command nID in menu or one of its submenus.
    const CSkinMenuData* FindRecord(const CSkinMenu& menu, UINT nID)
    {
        for (int i = 0; i < menu.GetRecordCount(); ++i)
        {
            const CSkinMenuData& record = menu.GetRecord(i);
            if (!(record.m_uMenuFlags & MF_POPUP))
            {
                if (record.m_uCommandId == nID && !(record.m_uMenuFlags & MF_SEPARATOR))
                    return &record;
                continue;
            }
            const auto* pSubmenu =
                dynamic_cast<const CSkinMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(record.m_uCommandId))
                );
            if (const CSkinMenuData* pFound = pSubmenu != nullptr ? FindRecord(*pSubmenu, nID) : nullptr)
                return pFound;
        }
        return nullptr;
    }
}

CGalleryMenus::CGalleryMenus()
{
    // The shared list is class-wide: every menu item of these commands, in
    // any menu appended from now on, finds its set by its id.
    if (CSkinMenu::m_SharedImages.m_hImageList == nullptr)
    {
        CGalleryArt::CreateMenuPictureList(CSkinMenu::m_SharedImages);
        for (const MenuPicture& set : SHARED_SETS)
        {
            CGalleryArt::AddMenuPicture(CSkinMenu::m_SharedImages, set.crShape, set.shape);
            CGalleryArt::AddMenuPicture(CSkinMenu::m_SharedImages, RGB(170, 170, 170), set.shape);
            CGalleryArt::AddMenuPicture(CSkinMenu::m_SharedImages, RGB(120, 120, 120), set.shape);
            CSkinMenu::m_SharedImageIds.insert(CSkinMenu::m_SharedImageIds.end(), 3, static_cast<int>(set.nID));
        }
    }
    CGalleryArt::CreateMenuPictureList(m_checkPictures);
    CGalleryArt::AddMenuPicture(m_checkPictures, RGB(40, 150, 60), CGalleryArt::SHAPE_TICK);
    CGalleryArt::AddMenuPicture(m_checkPictures, RGB(20, 90, 30), CGalleryArt::SHAPE_TICK);
    const WORD wBits[8] = {};
    m_radioMark.CreateBitmap(8, 8, 1, 1, wBits);
}

void CGalleryMenus::GivePicture(CSkinMenuData& record) const
{
    const auto itPicture =
        std::find_if(std::begin(ITEM_PICTURES), std::end(ITEM_PICTURES), [&](const MenuPicture& picture) {
            return picture.nID == record.m_uCommandId;
        });
    if (itPicture == std::end(ITEM_PICTURES) || (record.m_uMenuFlags & MF_POPUP))
        return;
    record.m_pImages = std::make_unique<CImageList>();
    CGalleryArt::CreateMenuPictureList(*record.m_pImages);
    record.m_nImage = CGalleryArt::AddMenuPicture(*record.m_pImages, itPicture->crShape, itPicture->shape);
    record.m_nImageState = 0;
}

void CGalleryMenus::MarkRadioItems(HMENU hMenu, const UINT* pIDs, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        ::SetMenuItemBitmaps(hMenu, pIDs[i], MF_BYCOMMAND, nullptr, m_radioMark);
}

void CGalleryMenus::Decorate(CSkinMenu& dropDown)
{
    m_pDropDown = &dropDown;
    auto* pItems = dynamic_cast<CSkinMenu*>(dropDown.GetSubMenu(0));
    if (pItems == nullptr)
        return;
    for (int i = 0; i < pItems->GetRecordCount(); ++i)
        GivePicture(pItems->GetRecord(i));
    // Checked items of the top popup show check pictures; its View submenu
    // keeps the drawn check marks and radio dots.
    pItems->LendCheckImages(m_checkPictures);
    pItems->m_nCheckImageNormal = 1;
    pItems->m_nCheckImageSelected = 1;
    MarkRadioItems(*pItems, VIEW_RADIO_GROUP, static_cast<int>(std::size(VIEW_RADIO_GROUP)));
}

void CGalleryMenus::BuildPopup()
{
    // The popup lets go of the zoom submenu, which is ours to destroy.
    m_popup.DestroyAll();
    m_zoom.DestroyAll();
    m_popup.CreatePopupMenu();
    m_zoom.CreatePopupMenu();
    AppendItems(m_zoom, ZOOM_ITEMS);
    MarkRadioItems(m_zoom, ZOOM_RADIO_GROUP, static_cast<int>(std::size(ZOOM_RADIO_GROUP)));
    m_zoom.AlignAccelerators();

    AppendItems(m_popup, POPUP_ITEMS);
    m_popup.AppendItem(L"&Zoom", MF_POPUP, reinterpret_cast<UINT_PTR>(m_zoom.m_hMenu));
    AppendItems(m_popup, POPUP_TAIL);
    for (int i = 0; i < m_popup.GetRecordCount(); ++i)
        GivePicture(m_popup.GetRecord(i));
    m_popup.AlignAccelerators();
}

void CGalleryMenus::UpdateChecks(HMENU hMenu, UINT nID)
{
    if (Contains(TOGGLES, nID))
    {
        const bool bChecked = (::GetMenuState(hMenu, nID, MF_BYCOMMAND) & MF_CHECKED) != 0;
        ::CheckMenuItem(hMenu, nID, MF_BYCOMMAND | (bChecked ? MF_UNCHECKED : MF_CHECKED));
        return;
    }
    for (const auto* pGroup : {&VIEW_RADIO_GROUP, &ZOOM_RADIO_GROUP})
    {
        if (!Contains(*pGroup, nID))
            continue;
        for (const UINT nMember : *pGroup)
            ::CheckMenuItem(hMenu, nMember, MF_BYCOMMAND | (nMember == nID ? MF_CHECKED : MF_UNCHECKED));
    }
}

std::string CGalleryMenus::CommandName(UINT nID) const
{
    const CSkinMenuData* pRecord = m_pDropDown != nullptr ? FindRecord(*m_pDropDown, nID) : nullptr;
    if (pRecord == nullptr)
        pRecord = FindRecord(m_popup, nID);
    return pRecord != nullptr ? PlainLabel(pRecord->GetTextA()) : std::string();
}
