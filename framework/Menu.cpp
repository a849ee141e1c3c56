#include "framework/Menu.h"
#include "framework/Afx.h"
#include "framework/HandleMap.h"
#include "framework/Wnd.h"

namespace
{
    using MenuMap = HandleMap<HMENU, CMenu, &CMenu::m_hMenu>;

    MenuMap& TheMenuMap()
    {
        thread_local MenuMap map;
        return map;
    }

    // True when hMenu has an owner-drawn item for nItemID (a command id, or the
    // handle of the item's submenu).
    bool HoldsOwnerDrawnItem(HMENU hMenu, UINT_PTR nItemID)
    {
        const int nCount = ::GetMenuItemCount(hMenu);
        for (int nPos = 0; nPos < nCount; ++nPos)
        {
            MENUITEMINFOA mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
            if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &mii) || (mii.fType & MFT_OWNERDRAW) == 0)
                continue;
            const UINT_PTR nThisID = mii.hSubMenu != nullptr ? reinterpret_cast<UINT_PTR>(mii.hSubMenu) : mii.wID;
            if (nThisID == nItemID)
                return true;
        }
        return false;
    }
}   // namespace

CMenu::~CMenu()
{
    DestroyMenu();
}

// ---- Handles and objects

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu != nullptr || hMenu == nullptr || FromHandlePermanent(hMenu) != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    TheMenuMap().SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != nullptr)
        TheMenuMap().RemovePermanent(hMenu, this);
    m_hMenu = nullptr;
    return hMenu;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return TheMenuMap().FromHandle(hMenu);
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    return TheMenuMap().LookupPermanent(hMenu);
}

void CMenu::DeleteTempMap()
{
    TheMenuMap().DeleteTemporary();
}

CMenu* CMenu::FindPermanentHolding(UINT_PTR nItemID)
{
    return TheMenuMap().FindPermanent([nItemID](const CMenu& menu) {
        return HoldsOwnerDrawnItem(menu.m_hMenu, nItemID);
    });
}

// ---- Creation

namespace
{
    BOOL AttachNew(CMenu& menu, HMENU hMenu)
    {
        if (menu.Attach(hMenu))
            return TRUE;
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
}   // namespace

BOOL CMenu::CreateMenu()
{
    return m_hMenu == nullptr && AttachNew(*this, ::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return m_hMenu == nullptr && AttachNew(*this, ::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    return m_hMenu == nullptr &&
           AttachNew(*this, ::LoadMenuA(AfxFindResourceHandle(lpszName, MAKEINTRESOURCEA(4) /* RT_MENU */), lpszName));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

// ---- Items

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}
int CMenu::GetMenuItemCount() const
{
    return ::GetMenuItemCount(m_hMenu);
}
UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, std::string& rString, UINT nFlags) const
{
    rString.clear();
    const int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0)
        return 0;
    rString.resize(static_cast<size_t>(nLength) + 1);
    const int nCopied = ::GetMenuStringA(m_hMenu, nIDItem, rString.data(), nLength + 1, nFlags);
    rString.resize(static_cast<size_t>(nCopied > 0 ? nCopied : 0));
    return nCopied;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos) const
{
    return ::GetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFOA lpMenuItemInfo, BOOL fByPos)
{
    return ::SetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd != nullptr ? pWnd->m_hWnd : nullptr, lpRect);
}

// ---- Overrideables: a plain menu has no owner-drawn items of its own.

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
