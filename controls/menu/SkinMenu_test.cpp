#include "controls/menu/SkinMenu.h"

#include "controls/menu/SkinMenuTheme.h"
#include "tests/support/menu/MenuTestResources.h"
#include "framework/ClientDC.h"
#include "framework/Exceptions.h"
#include "framework/ScopedSelect.h"

#include <gtest/gtest.h>

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

ULONG_PTR RecordData(const CSkinMenu& menu, int nIndex)
{
    return reinterpret_cast<ULONG_PTR>(&menu.GetRecord(nIndex));
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

TEST(SkinMenuModel, AppendingIdZeroGivesOwnerDrawnSeparatorKeepingOnlyByPosition)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const size_t nPopupsBefore = CSkinMenu::m_AllPopupHandles.size();
    EXPECT_TRUE(menu.AppendItem(L"ignored", MF_BYPOSITION | MF_GRAYED | MF_CHECKED | MF_POPUP, 0));
    EXPECT_TRUE(menu.AppendItem(nullptr, MF_GRAYED, 0));

    ASSERT_EQ(2, menu.GetRecordCount());
    EXPECT_EQ(UINT(MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW), menu.GetRecord(0).m_uMenuFlags);
    EXPECT_EQ(UINT(MF_SEPARATOR | MF_OWNERDRAW), menu.GetRecord(1).m_uMenuFlags);
    EXPECT_EQ(UINT(MFT_SEPARATOR | MFT_OWNERDRAW), Item(menu, 0).fType);
    EXPECT_EQ(RecordData(menu, 0), Item(menu, 0).dwItemData);
    EXPECT_EQ(nullptr, ::GetSubMenu(menu.m_hMenu, 0));
    EXPECT_EQ(nPopupsBefore, CSkinMenu::m_AllPopupHandles.size());
}

TEST(SkinMenuModel, AppendedCommandIsOwnerDrawnAndFindsItsSharedPicture)
{
    const auto savedIds = CSkinMenu::m_SharedImageIds;
    CSkinMenu::m_SharedImageIds = {7, 42, 42};
    CSkinMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(L"Answer", MF_CHECKED, 42);
    menu.AppendItem(L"Other", 0, 43);
    CSkinMenu::m_SharedImageIds = savedIds;

    EXPECT_EQ(UINT(MF_CHECKED | MF_OWNERDRAW), menu.GetRecord(0).m_uMenuFlags);
    EXPECT_EQ(UINT(MF_CHECKED), ::GetMenuState(menu.m_hMenu, 42, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(1, menu.GetRecord(0).m_nSharedImage);
    EXPECT_EQ(-1, menu.GetRecord(1).m_nSharedImage);
}

TEST(SkinMenuModel, NestedTemplateLoadsIntoTheRightTreeWithAPlainTopLevel)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_NESTED));
    // Root: File, About. The popup closing File's list must not close File early.
    ASSERT_EQ(2, menu.GetMenuItemCount());
    ASSERT_EQ(2, menu.GetRecordCount());
    CSkinMenu& file = SubMenuOf(menu, 0);
    ASSERT_EQ(4, file.GetMenuItemCount());
    ASSERT_EQ(4, file.GetRecordCount());
    EXPECT_EQ(UINT(MF_SEPARATOR | MF_OWNERDRAW), file.GetRecord(1).m_uMenuFlags);
    EXPECT_EQ(UINT(ID_TEST_EXIT), file.GetRecord(2).m_uCommandId);
    EXPECT_EQ(UINT(MF_GRAYED | MF_OWNERDRAW), file.GetRecord(2).m_uMenuFlags);
    for (int nPosition = 0; nPosition < 4; ++nPosition)
        EXPECT_NE(0u, Item(file, nPosition).fType & MFT_OWNERDRAW) << nPosition;
    CSkinMenu& recent = SubMenuOf(file, 3);
    ASSERT_EQ(2, recent.GetRecordCount());
    EXPECT_EQ(L"One", TextOf(recent, 0));
    EXPECT_EQ(UINT(MF_CHECKED | MF_OWNERDRAW), recent.GetRecord(1).m_uMenuFlags);
    // Every popup is known as one of ours; the root is not a popup.
    EXPECT_TRUE(CSkinMenu::IsOwnPopup(&file));
    EXPECT_TRUE(CSkinMenu::IsOwnPopupHandle(recent.m_hMenu));
    EXPECT_FALSE(CSkinMenu::IsOwnPopup(&menu));

    // The top level is plain text, without a grayed or checked state.
    EXPECT_EQ(UINT(MF_BYPOSITION | MF_POPUP), menu.GetRecord(0).m_uMenuFlags);
    EXPECT_EQ(UINT(MF_BYPOSITION | MF_STRING), menu.GetRecord(1).m_uMenuFlags);
    for (int nPosition = 0; nPosition < 2; ++nPosition) {
        EXPECT_EQ(0u, Item(menu, nPosition).fType & MFT_OWNERDRAW) << nPosition;
        EXPECT_EQ(0u, ::GetMenuState(menu.m_hMenu, nPosition, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED)) << nPosition;
    }
    std::string strAbout;
    menu.GetMenuString(1, strAbout, MF_BYPOSITION);
    EXPECT_EQ("&About", strAbout);
    EXPECT_EQ(UINT(ID_TEST_ABOUT), menu.GetMenuItemID(1));

    // Reloading replaces the tree: the old popups leave the class-wide list.
    const HMENU hOldFile = file.m_hMenu;
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_ACCEL));
    EXPECT_FALSE(CSkinMenu::IsOwnPopupHandle(hOldFile));
    EXPECT_EQ(nullptr, CMenu::FindPermanentHolding(ID_TEST_ONE));
}

TEST(SkinMenuModel, MissingOrBrokenTemplatesFailCleanly)
{
    const size_t nPopupsBefore = CSkinMenu::m_AllPopupHandles.size();
    CSkinMenu menu;
    EXPECT_FALSE(menu.LoadFromResource(4711u));
    EXPECT_EQ(nullptr, menu.m_hMenu);

    // A template that ends inside its popup: nothing is read past it, and the
    // half-built tree is gone.
    EXPECT_THROW(menu.LoadFromResource(IDM_TEST_TRUNCATED), CInvalidArgException);
    EXPECT_EQ(nullptr, menu.m_hMenu);
    EXPECT_EQ(0, menu.GetRecordCount());
    EXPECT_TRUE(menu.m_OwnedPopups.empty());
    EXPECT_EQ(nPopupsBefore, CSkinMenu::m_AllPopupHandles.size());
    EXPECT_EQ(nullptr, CMenu::FindPermanentHolding(100));

    // An option word claiming a bitmap item cannot make the record a bitmap.
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_BITMAP_FLAG));
    CSkinMenu& popup = SubMenuOf(menu, 0);
    EXPECT_EQ(UINT(MF_OWNERDRAW), popup.GetRecord(0).m_uMenuFlags);
    EXPECT_EQ(UINT(MFT_OWNERDRAW), Item(popup, 0).fType);
    EXPECT_EQ(RecordData(popup, 0), Item(popup, 0).dwItemData);
}

TEST(SkinMenuModel, AcceleratorsAlignWithTheWidestLabelAlsoOutsideTheCodePage)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_ACCEL));
    const CSkinMenu& popup = SubMenuOf(menu, 0);
    EXPECT_EQ(L"Exit", TextOf(popup, 1));
    const std::wstring strOpen = TextOf(popup, 0);
    const size_t nTab = strOpen.find(L'\t');
    ASSERT_NE(std::wstring::npos, nTab);
    EXPECT_EQ(L"\tCtrl+O", strOpen.substr(nTab));
    const std::wstring strLabel = strOpen.substr(0, nTab);
    ASSERT_GT(strLabel.size(), 4u) << "at least one space of padding";
    EXPECT_EQ(L"Open", strLabel.substr(0, 4));
    EXPECT_EQ(std::wstring::npos, strLabel.find_first_not_of(L' ', 4));

    // Padded just far enough: to the wider of "Open " and "Exit ".
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

TEST(SkinMenuModel, MnemonicsMatchCaseInsensitivelyInOwnPopupsOnlyAndAdoptInsertedItems)
{
    CSkinMenu menu;
    ASSERT_TRUE(menu.LoadFromResource(IDM_TEST_NESTED));
    CSkinMenu& file = SubMenuOf(menu, 0);
    EXPECT_EQ(0x20000 + 2, CSkinMenu::FindMnemonic('x', MF_POPUP, &file));
    EXPECT_EQ(0x20000 + 2, CSkinMenu::FindMnemonic('X', MF_POPUP, &file));
    EXPECT_EQ(0x20000 + 3, CSkinMenu::FindMnemonic('R', MF_POPUP, &file));
    EXPECT_EQ(0, CSkinMenu::FindMnemonic('q', MF_POPUP, &file));
    EXPECT_EQ(0, CSkinMenu::FindMnemonic('x', 0, &file));   // a menu bar never
    CMenu plain;
    ASSERT_TRUE(plain.CreatePopupMenu());
    plain.AppendMenu(MF_STRING, 5, "E&xit");
    EXPECT_EQ(0, CSkinMenu::FindMnemonic('x', MF_POPUP, &plain));

    // An item inserted by others is noticed by the lookup and taken over first.
    CSkinMenuData* pOpenRecord = &file.GetRecord(0);
    ASSERT_TRUE(::InsertMenuA(file.m_hMenu, 0, MF_BYPOSITION | MF_STRING | MF_CHECKED, 150, "&Print"));
    EXPECT_EQ(0x20000 + 0, CSkinMenu::FindMnemonic('p', MF_POPUP, &file));
    ASSERT_EQ(5, file.GetRecordCount());
    EXPECT_EQ(L"&Print", TextOf(file, 0));
    EXPECT_EQ(UINT_PTR(150), file.GetRecord(0).m_uCommandId);
    EXPECT_EQ(UINT(MF_CHECKED | MF_BYPOSITION | MF_OWNERDRAW), file.GetRecord(0).m_uMenuFlags);
    EXPECT_NE(0u, Item(file, 0).fType & MFT_OWNERDRAW);
    EXPECT_EQ(RecordData(file, 0), Item(file, 0).dwItemData);
    // The menu's own records stay, in their new positions.
    EXPECT_EQ(pOpenRecord, &file.GetRecord(1));
    EXPECT_EQ(::GetSubMenu(file.m_hMenu, 4), reinterpret_cast<HMENU>(file.GetRecord(4).m_uCommandId));
    // A removed item takes its record with it.
    ASSERT_TRUE(::RemoveMenu(file.m_hMenu, ID_TEST_EXIT, MF_BYCOMMAND));
    file.SynchronizeRecords();
    ASSERT_EQ(4, file.GetRecordCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(UINT_PTR(ID_TEST_EXIT), file.GetRecord(i).m_uCommandId);
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

TEST(SkinMenuModel, SynchronizingSeparatorsWorksByPosition)
{
    // The separator's record was appended without MF_BYPOSITION; position 1
    // must not be read as command id 1.
    CSkinMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(L"Command one", 0, 1);
    menu.AppendItem(nullptr, 0, 0);
    ASSERT_TRUE(::AppendMenuA(menu.m_hMenu, MF_STRING, 7, "Foreign"));
    menu.SynchronizeRecords();
    ASSERT_EQ(3, menu.GetRecordCount());
    EXPECT_EQ(1u, menu.GetMenuItemID(0));
    EXPECT_EQ(0u, Item(menu, 0).fType & MFT_SEPARATOR);
    EXPECT_NE(0u, Item(menu, 1).fType & MFT_SEPARATOR);
    EXPECT_EQ(L"Foreign", TextOf(menu, 2));
}

TEST(SkinMenuModel, ItemTextOutsideTheRecordsIsFalseEvenWhenEmpty)
{
    CSkinMenu menu;
    std::string strText = "unchanged";
    EXPECT_FALSE(menu.GetItemText(0, strText));
    EXPECT_EQ("unchanged", strText);
    EXPECT_THROW(menu.GetRecord(0), CInvalidArgException);

    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(L"Only", 0, 3);
    EXPECT_TRUE(menu.GetItemText(0, strText));
    EXPECT_EQ("Only", strText);
    EXPECT_FALSE(menu.GetItemText(1, strText));
    EXPECT_FALSE(menu.GetItemText(-1, strText));
}

TEST(SkinMenuModel, DestroyAllFreesWhatTheMenuMadeOnlyAndNothingOnAnEmptyMenu)
{
    CSkinMenu owner;
    ASSERT_TRUE(owner.LoadFromResource(IDM_TEST_NESTED));
    const auto popupsBefore = CSkinMenu::m_AllPopupHandles;
    CSkinMenu empty;
    EXPECT_FALSE(empty.DestroyAll());
    EXPECT_EQ(popupsBefore, CSkinMenu::m_AllPopupHandles);
    EXPECT_EQ(nullptr, empty.m_hMenu);

    EXPECT_TRUE(owner.DestroyAll());
    EXPECT_EQ(nullptr, owner.m_hMenu);
    EXPECT_EQ(0, owner.GetRecordCount());
    EXPECT_EQ(nullptr, CMenu::FindPermanentHolding(ID_TEST_ONE));
    EXPECT_LT(CSkinMenu::m_AllPopupHandles.size(), popupsBefore.size());

    // A popup the caller appends is listed, then let go, never deleted.
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

TEST(SkinMenuModel, ThreePictureSetsNeverReachPastTheList)
{
    const auto savedIds = CSkinMenu::m_SharedImageIds;
    CSkinMenu::m_SharedImageIds = {4, 9, 9, 9, 9};
    EXPECT_FALSE(CSkinMenu::HasThreeImageSet(0));
    EXPECT_TRUE(CSkinMenu::HasThreeImageSet(2));
    EXPECT_FALSE(CSkinMenu::HasThreeImageSet(3));   // second to last
    EXPECT_FALSE(CSkinMenu::HasThreeImageSet(4));   // last
    EXPECT_FALSE(CSkinMenu::HasThreeImageSet(-1));
    CSkinMenu::m_SharedImageIds.clear();
    EXPECT_FALSE(CSkinMenu::HasThreeImageSet(0));
    CSkinMenu::m_SharedImageIds = savedIds;
}
