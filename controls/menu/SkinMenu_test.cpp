#include "controls/menu/SkinMenu.h"

#include "controls/menu/SkinMenuTheme.h"
#include "tests/support/menu/MenuTestResources.h"
#include "framework/ClientDC.h"
#include "framework/ImageList.h"
#include "framework/ScopedSelect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace
{
    // The type and data of the item at a position.
    MENUITEMINFOA Item(const CMenu& menu, int nPosition)
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        ::GetMenuItemInfoA(menu.m_hMenu, nPosition, TRUE, &info);
        return info;
    }

    // Whether the item at a position is drawn by the menu from its own record.
    bool DrawnFromRecord(const CSkinMenu& menu, int nPosition)
    {
        const MENUITEMINFOA info = Item(menu, nPosition);
        return (info.fType & MFT_OWNERDRAW) &&
               info.dwItemData == reinterpret_cast<ULONG_PTR>(&menu.GetRecord(nPosition));
    }

    CSkinMenu& SubMenuOf(const CSkinMenu& menu, int nPosition)
    {
        auto* pSub = dynamic_cast<CSkinMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(menu.m_hMenu, nPosition)));
        if (pSub == nullptr)
            throw std::runtime_error("position holds no CSkinMenu popup");
        return *pSub;
    }

    std::wstring TextOf(const CSkinMenu& menu, int nIndex)
    {
        const wchar_t* pwszText = menu.GetRecord(nIndex).GetTextW();
        return pwszText != nullptr ? pwszText : L"(null)";
    }
}

TEST(SkinMenuModel, AcceleratorsAlignJustPastTheWidestLabelAlsoOutsideTheCodePage)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_ACCEL));
    const std::wstring strOpen = TextOf(SubMenuOf(menu, 0), 0);
    const size_t nTab = strOpen.find(L'\t');
    ASSERT_NE(std::wstring::npos, nTab);
    EXPECT_EQ(L"\tCtrl+O", strOpen.substr(nTab));
    const std::wstring strLabel = strOpen.substr(0, nTab);
    ASSERT_GT(strLabel.size(), 4u) << "at least one space of padding";
    EXPECT_EQ(L"Open", strLabel.substr(0, 4));
    EXPECT_EQ(std::wstring::npos, strLabel.find_first_not_of(L' ', 4));

    // Padded just far enough, in the menu font: to the wider of "Open " and "Exit ".
    CFont font;
    CSkinMenuTheme::CreateMenuFont(font);
    CClientDC dc(nullptr);
    ScopedSelect selectFont(dc, font);
    const auto width = [&dc](const std::wstring& str) {
        return dc.GetTextExtentW(str.c_str(), static_cast<int>(str.size())).cx;
    };
    const auto nTarget = std::max(width(L"Open "), width(L"Exit "));
    EXPECT_GE(width(strLabel), nTarget);
    EXPECT_LT(width(strLabel.substr(0, strLabel.size() - 1)), nTarget);

    CSkinMenu chinese;
    ASSERT_TRUE(chinese.CreatePopupMenu());
    const std::wstring strChinese = L"\x6253\x5f00";   // "open" in Chinese
    chinese.AppendItem((strChinese + L"\tCtrl+O").c_str(), 0, 1);
    chinese.AppendItem(L"A much longer label", 0, 2);
    chinese.AlignAccelerators();
    const std::wstring strText = TextOf(chinese, 0);
    EXPECT_EQ(strChinese, strText.substr(0, 2));
    EXPECT_EQ(L"\tCtrl+O", strText.substr(strText.find(L'\t')));
    EXPECT_GT(strText.find(L'\t'), 2u);
}

// A nested template loads whole, items others insert are taken over, and
// DestroyAll spares a popup the caller owns.
TEST(SkinMenuModel, NestedTemplateForeignItemsAndTheCallersPopup)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_NESTED));
    // The popup closing File's list must not close File early; the top level stays plain text.
    CSkinMenu& file = SubMenuOf(menu, 0);
    ASSERT_EQ(4, file.GetRecordCount());
    EXPECT_EQ(UINT(MF_CHECKED | MF_OWNERDRAW), SubMenuOf(file, 3).GetRecord(1).m_uMenuFlags);
    EXPECT_EQ(0u, Item(menu, 1).fType & MFT_OWNERDRAW);
    // The mnemonic lookup notices an item inserted by others and draws it like its own.
    CSkinMenuData* pOpenRecord = &file.GetRecord(0);
    ASSERT_TRUE(::InsertMenuA(file.m_hMenu, 0, MF_BYPOSITION | MF_STRING | MF_CHECKED, 150, "&Print"));
    EXPECT_EQ(0x20000 + 0, CSkinMenu::FindMnemonic('p', MF_POPUP, &file));
    ASSERT_EQ(5, file.GetRecordCount());
    EXPECT_EQ(L"&Print", TextOf(file, 0));
    EXPECT_EQ(UINT(MF_CHECKED | MF_BYPOSITION | MF_OWNERDRAW), file.GetRecord(0).m_uMenuFlags);
    EXPECT_TRUE(DrawnFromRecord(file, 0));
    EXPECT_EQ(pOpenRecord, &file.GetRecord(1));
    // A removed item takes its record with it.
    ASSERT_TRUE(::RemoveMenu(file.m_hMenu, ID_TEST_EXIT, MF_BYCOMMAND));
    file.SynchronizeRecords();
    ASSERT_EQ(4, file.GetRecordCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(UINT_PTR(ID_TEST_EXIT), file.GetRecord(i).m_uCommandId);

    const size_t nPopupsBefore = CSkinMenu::m_AllPopupHandles.size();
    EXPECT_TRUE(menu.DestroyAll());
    EXPECT_EQ(nullptr, menu.m_hMenu);
    EXPECT_EQ(nullptr, CMenu::FindPermanentHolding(ID_TEST_ONE));
    EXPECT_EQ(nPopupsBefore - 2, CSkinMenu::m_AllPopupHandles.size());

    CSkinMenu parent;
    CSkinMenu callersPopup;
    ASSERT_TRUE(parent.CreatePopupMenu() && callersPopup.CreatePopupMenu());
    ASSERT_TRUE(parent.AppendItem(L"More", MF_POPUP, reinterpret_cast<UINT_PTR>(callersPopup.m_hMenu)));
    EXPECT_TRUE(CSkinMenu::IsOwnPopupHandle(callersPopup.m_hMenu));
    EXPECT_TRUE(parent.DestroyAll());
    EXPECT_FALSE(CSkinMenu::IsOwnPopupHandle(callersPopup.m_hMenu));
    EXPECT_EQ(&callersPopup, CMenu::FromHandlePermanent(callersPopup.m_hMenu));
    // ...and its platform menu lives on with it; a bare handle goes with the parent.
    EXPECT_TRUE(::IsMenu(callersPopup.m_hMenu));
    const HMENU hBare = ::CreatePopupMenu();
    ASSERT_TRUE(parent.CreatePopupMenu());
    ASSERT_TRUE(parent.AppendItem(L"Bare", MF_POPUP, reinterpret_cast<UINT_PTR>(hBare)));
    ASSERT_TRUE(parent.AppendItem(L"Again", MF_POPUP, reinterpret_cast<UINT_PTR>(callersPopup.m_hMenu)));
    EXPECT_TRUE(parent.DestroyAll());
    EXPECT_FALSE(::IsMenu(hBare));
    EXPECT_TRUE(::IsMenu(callersPopup.m_hMenu));
}

TEST(SkinMenuModel, CheckPicturesLentToAMenuReachItsChildMenusAndOutliveThemAll)
{
    CImageList pictures;
    ASSERT_TRUE(pictures.Create(16, 15, ILC_COLOR32, 2, 0));
    ASSERT_TRUE(::ImageList_SetImageCount(pictures.GetSafeHandle(), 2));
    const HIMAGELIST hPictures = pictures.GetSafeHandle();
    {
        CSkinMenu menu;
        menu.LendCheckImages(pictures);
        ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_NESTED));
        CSkinMenu& file = SubMenuOf(menu, 0);
        EXPECT_EQ(&pictures, file.GetCheckImages());
        EXPECT_EQ(&pictures, SubMenuOf(file, 3).GetCheckImages());
        EXPECT_TRUE(menu.DestroyAll());
    }
    // Neither the menu nor its children took the list with them.
    EXPECT_EQ(hPictures, pictures.GetSafeHandle());
    EXPECT_EQ(2, ::ImageList_GetImageCount(hPictures));
}

TEST(SkinMenuModel, EscapedAmpersandsAreShownNotMnemonics)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(L"Drag&&Drop", 0, 1);
    menu.AppendItem(L"&Delete", 0, 2);
    menu.AppendItem(L"Salt && &pepper", 0, 3);
    EXPECT_EQ(0x20000 + 1, CSkinMenu::FindMnemonic('d', MF_POPUP, &menu));
    EXPECT_EQ(0x20000 + 2, CSkinMenu::FindMnemonic('P', MF_POPUP, &menu));
    EXPECT_EQ(0, CSkinMenu::FindMnemonic('&', MF_POPUP, &menu));
    EXPECT_EQ(0, CSkinMenu::FindMnemonic(' ', MF_POPUP, &menu));
}
