#include "controls/menu/SkinMenu.h"

#include "controls/menu/MenuTemplateReader.h"
#include "controls/menu/SkinMenuPainter.h"
#include "controls/menu/SkinMenuTheme.h"
#include "framework/Afx.h"
#include "framework/ClientDC.h"
#include "framework/Exceptions.h"
#include "base/OwnedHandle.h"
#include "framework/ScopedSelect.h"

#include <algorithm>
#include <cwchar>
#include <utility>

CImageList CSkinMenu::m_SharedImages;
std::vector<int> CSkinMenu::m_SharedImageIds;
std::vector<HMENU> CSkinMenu::m_AllPopupHandles;
int CSkinMenu::m_nOsVersion = CSkinMenuTheme::GetOsVersionCode();
int CSkinMenu::m_nDrawStyle = 0;
BOOL CSkinMenu::m_bHighlightGrayed = FALSE;

namespace
{
    // Type bits that would make the platform read the item data as something
    // other than our record.
    const UINT FOREIGN_TYPE_FLAGS = MF_BITMAP;

    std::string PositionText(const CMenu& menu, int nPosition)
    {
        std::string strText;
        menu.GetMenuString(static_cast<UINT>(nPosition), strText, MF_BYPOSITION);
        return strText;
    }

    std::string Lowered(std::string str)
    {
        if (!str.empty())
            ::CharLowerBuffA(str.data(), static_cast<DWORD>(str.size()));
        return str;
    }

    // Whether a lower-cased item text marks chKey as a mnemonic ("&x"). "&&"
    // stands for an ampersand shown as such and marks nothing.
    bool HasMnemonic(const std::string& strLowered, char chKey)
    {
        for (size_t i = 0; i + 1 < strLowered.size(); ++i)
        {
            if (strLowered[i] != '&')
                continue;
            if (strLowered[i + 1] == chKey && chKey != '&')
                return true;
            ++i;   // the marked character, or the second ampersand of a pair
        }
        return false;
    }
}

CSkinMenu::CSkinMenu() = default;

CSkinMenu::~CSkinMenu()
{
    CSkinMenu::DestroyAll();
}

// ---- Records

CSkinMenuData* CSkinMenu::AddRecord(std::unique_ptr<CSkinMenuData> pRecord)
{
    m_Items.push_back(std::move(pRecord));
    return m_Items.back().get();
}

CSkinMenuData& CSkinMenu::GetRecord(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetRecordCount())
        AfxThrowInvalidArgException();
    return *m_Items[static_cast<size_t>(nIndex)];
}

BOOL CSkinMenu::GetItemText(int nIndex, std::string& strText) const
{
    if (nIndex < 0 || nIndex >= GetRecordCount())
        return FALSE;
    strText = m_Items[static_cast<size_t>(nIndex)]->GetTextA();
    return TRUE;
}

CSkinMenuData* CSkinMenu::ClaimRecord(UINT_PTR nID)
{
    for (auto& pRecord : m_Items)
    {
        if (pRecord && pRecord->m_uCommandId == nID && !pRecord->m_bClaimed)
        {
            pRecord->m_bClaimed = TRUE;
            return pRecord.get();
        }
    }
    return nullptr;
}

void CSkinMenu::DeleteUnclaimedRecords()
{
    std::erase_if(m_Items, [](const std::unique_ptr<CSkinMenuData>& pRecord) {
        return !pRecord || !pRecord->m_bClaimed;
    });
}

// ---- Building

BOOL CSkinMenu::AppendItem(const wchar_t* pwszText, UINT nFlags, UINT_PTR nID)
{
    if (nID != 0 && (nFlags & MF_POPUP))
        m_AppendedPopups.push_back(reinterpret_cast<HMENU>(nID));
    return AppendOwnerDrawnItem(pwszText, nFlags, nID);
}

CSkinMenu* CSkinMenu::AppendOwnedPopup(const wchar_t* pwszText, UINT nFlags, std::unique_ptr<CSkinMenu> pPopup)
{
    AppendOwnerDrawnItem(pwszText, nFlags | MF_POPUP, reinterpret_cast<UINT_PTR>(pPopup->m_hMenu));
    m_OwnedPopups.push_back(std::move(pPopup));
    return m_OwnedPopups.back().get();
}

BOOL CSkinMenu::AppendOwnerDrawnItem(const wchar_t* pwszText, UINT nFlags, UINT_PTR nID)
{
    if (nID == 0)
        nFlags = (nFlags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    else
        nFlags = (nFlags & ~FOREIGN_TYPE_FLAGS) | MF_OWNERDRAW;

    if (nFlags & MF_POPUP)
        m_AllPopupHandles.push_back(reinterpret_cast<HMENU>(nID));

    auto pNew = std::make_unique<CSkinMenuData>();
    pNew->SetTextW(pwszText);
    const auto itShared = std::find(m_SharedImageIds.begin(), m_SharedImageIds.end(), static_cast<int>(nID));
    if (itShared != m_SharedImageIds.end())
        pNew->m_nSharedImage = static_cast<int>(itShared - m_SharedImageIds.begin());
    pNew->m_uMenuFlags = nFlags;
    pNew->m_uCommandId = nID;
    CSkinMenuData* pRecord = AddRecord(std::move(pNew));

    const BOOL bAppended = AppendMenu(nFlags, nID, reinterpret_cast<LPCSTR>(pRecord));
    if (m_bLoadedFromResource)
        RestoreTopLevelPopups();
    return bAppended;
}

std::unique_ptr<CSkinMenuData> CSkinMenu::ReplaceItemAt(UINT nPosition, UINT_PTR nID, const char* pszText, UINT nFlags)
{
    auto pRecord = std::make_unique<CSkinMenuData>();
    pRecord->SetTextA(pszText);
    if (nFlags & MF_OWNERDRAW)
        nFlags &= ~FOREIGN_TYPE_FLAGS;
    pRecord->m_uMenuFlags = nFlags;
    pRecord->m_uCommandId = nID;
    const LPCSTR pItem = (nFlags & MF_OWNERDRAW) ? reinterpret_cast<LPCSTR>(pRecord.get()) : nullptr;
    ModifyMenu(nPosition, nFlags, nID, pItem);
    return pRecord;
}

BOOL CSkinMenu::LoadFromResource(UINT nIDResource)
{
    return LoadFromResource(MAKEINTRESOURCEA(LOWORD(nIDResource)));
}

BOOL CSkinMenu::LoadFromResource(LPCSTR lpszResourceName)
{
    HINSTANCE hModule = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    HRSRC hResource = ::FindResourceA(hModule, lpszResourceName, RT_MENU);
    if (hResource == nullptr)
    {
        hModule = nullptr;
        hResource = ::FindResourceA(hModule, lpszResourceName, RT_MENU);
    }
    if (hResource == nullptr)
        return FALSE;
    const HGLOBAL hLoaded = ::LoadResource(hModule, hResource);
    const void* pTemplate = hLoaded != nullptr ? ::LockResource(hLoaded) : nullptr;
    if (pTemplate == nullptr)
        return FALSE;

    DestroyAll();
    if (!CreateMenu())
        return FALSE;

    // A half-built tree is taken down again, whatever stopped the build.
    try
    {
        if (!BuildFromTemplate(pTemplate, ::SizeofResource(hModule, hResource)))
        {
            DestroyAll();
            return FALSE;
        }
        ConvertTopLevel();
    }
    catch (...)
    {
        DestroyAll();
        throw;
    }
    m_bLoadedFromResource = TRUE;
    return TRUE;
}

BOOL CSkinMenu::BuildFromTemplate(const void* pTemplate, size_t cbTemplate)
{
    CMenuTemplateReader reader(pTemplate, cbTemplate);
    // The menus still open, innermost last, and whether each has seen its
    // last item (MF_END) while a popup inside it was being read.
    std::vector<CSkinMenu*> levels{this};
    std::vector<bool> levelEnded{false};

    while (!levels.empty())
    {
        const CMenuTemplateReader::Item item = reader.ReadItem();
        const UINT nFlags = item.uOptions & ~MF_END;
        const bool bEnd = (item.uOptions & MF_END) != 0;

        if (item.uOptions & MF_POPUP)
        {
            if (bEnd)
                levelEnded.back() = true;
            auto pChild = std::make_unique<CSkinMenu>();
            pChild->m_nCheckImageNormal = m_nCheckImageNormal;
            pChild->m_nCheckImageSelected = m_nCheckImageSelected;
            pChild->m_pCheckImages = m_pCheckImages;
            if (!pChild->CreatePopupMenu())
                return FALSE;
            levels.push_back(levels.back()->AppendOwnedPopup(item.strText.c_str(), nFlags, std::move(pChild)));
            levelEnded.push_back(false);
        }
        else
        {
            levels.back()->AppendItem(item.strText.c_str(), nFlags, item.uId);
            if (bEnd)
                levelEnded.back() = true;
            while (!levels.empty() && levelEnded.back())
            {
                levels.back()->AlignAccelerators();
                levels.pop_back();
                levelEnded.pop_back();
            }
        }
    }
    return TRUE;
}

void CSkinMenu::ConvertTopLevel()
{
    // A menu bar shows plain text: only the popups' contents stay owner-drawn.
    for (int nPosition = 0; nPosition < GetMenuItemCount(); ++nPosition)
    {
        CSkinMenuData& record = GetRecord(nPosition);
        const std::string strText = record.GetTextA();
        if (const CMenu* pPopup = GetSubMenu(nPosition))
        {
            record.m_uMenuFlags = MF_BYPOSITION | MF_POPUP;
            ModifyMenu(nPosition, record.m_uMenuFlags, reinterpret_cast<UINT_PTR>(pPopup->m_hMenu), strText.c_str());
        }
        else
        {
            record.m_uMenuFlags = MF_BYPOSITION | MF_STRING;
            ModifyMenu(nPosition, record.m_uMenuFlags, record.m_uCommandId, strText.c_str());
        }
    }
}

int CSkinMenu::GetPositionOffset() const
{
    if (!m_bLoadedFromResource)
        return 0;
    const int nCount = GetMenuItemCount();
    for (int nPosition = 0; nPosition < nCount; ++nPosition)
    {
        const std::string strText = PositionText(*this, nPosition);
        if (strText.empty())
            continue;
        for (int nRecord = 0; nRecord < GetRecordCount(); ++nRecord)
        {
            if (m_Items[static_cast<size_t>(nRecord)]->GetTextA() == strText)
                return nPosition >= nRecord ? nPosition - nRecord : 0;
        }
    }
    return 0;
}

void CSkinMenu::RestoreTopLevelPopups()
{
    const int nOffset = GetPositionOffset();
    const int nRecords = GetRecordCount();
    for (int i = 0; i < nRecords && nOffset + i < GetMenuItemCount(); ++i)
    {
        if (const CMenu* pPopup = GetSubMenu(nOffset + i))
        {
            CSkinMenuData& record = GetRecord(i);
            record.m_uMenuFlags = MF_BYPOSITION | MF_POPUP;
            ModifyMenu(
                nOffset + i, record.m_uMenuFlags, reinterpret_cast<UINT_PTR>(pPopup->m_hMenu), record.GetTextA().c_str()
            );
        }
    }
}

void CSkinMenu::AlignAccelerators()
{
    CFont font;
    CSkinMenuTheme::CreateMenuFont(font);
    CClientDC dc(CSkinMenuTheme::GetMeasuringWindow());
    ScopedSelect selectFont(dc, font);

    auto labelOf = [](const wchar_t* pwszText) {
        const std::wstring strText = pwszText != nullptr ? pwszText : L"";
        return strText.substr(0, strText.find(L'\t'));
    };
    auto widthOf = [&dc](const std::wstring& str) {
        return static_cast<int>(dc.GetTextExtentW(str.c_str(), static_cast<int>(str.size())).cx);
    };

    int nMaxWidth = -1;
    const int nCount = GetMenuItemCount();
    for (int nPosition = 0; nPosition < nCount; ++nPosition)
        nMaxWidth = std::max(nMaxWidth, widthOf(labelOf(GetRecord(nPosition).GetTextW()) + L" "));

    // Padded in UTF-16, so that no character is lost to the ANSI code page.
    for (auto& pRecord : m_Items)
    {
        const wchar_t* pwszText = pRecord->GetTextW();
        if (pwszText == nullptr || std::wcschr(pwszText, L'\t') == nullptr)
            continue;
        std::wstring strLabel = labelOf(pwszText);
        for (int nWidth = widthOf(strLabel); nWidth < nMaxWidth;)
        {
            strLabel.push_back(L' ');
            const int nWider = widthOf(strLabel);
            if (nWider <= nWidth)
                break;   // a font whose space has no width would never get there
            nWidth = nWider;
        }
        strLabel += std::wcschr(pwszText, L'\t');
        pRecord->SetTextW(strLabel.c_str());
    }
}

void CSkinMenu::SynchronizeRecords()
{
    for (auto& pRecord : m_Items)
        pRecord->m_bClaimed = FALSE;

    // Per position: the record that stays (still owned by m_Items) and, for
    // a foreign item, the new record made for it.
    std::vector<CSkinMenuData*> kept;
    std::vector<std::unique_ptr<CSkinMenuData>> next;
    for (int nPosition = 0; nPosition < GetMenuItemCount(); ++nPosition)
    {
        const UINT nState = GetMenuState(static_cast<UINT>(nPosition), MF_BYPOSITION);
        CSkinMenuData* pRecord = nullptr;
        std::unique_ptr<CSkinMenuData> pNew;
        if (nState & MF_POPUP)
        {
            const UINT_PTR nPopup = reinterpret_cast<UINT_PTR>(::GetSubMenu(m_hMenu, nPosition));
            pRecord = ClaimRecord(nPopup);
            const std::string strText = PositionText(*this, nPosition);
            if (pRecord == nullptr)
                pNew = ReplaceItemAt(
                    nPosition, nPopup, strText.c_str(), (nState & 0xEF) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP
                );
            else if (!strText.empty())
                pRecord->SetTextA(strText.c_str());
        }
        else if (nState & MF_SEPARATOR)
        {
            pRecord = ClaimRecord(0);
            if (pRecord == nullptr)
                pNew = ReplaceItemAt(nPosition, 0, "", nState | MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW);
            else   // by position whatever the record says: its flags may lack MF_BYPOSITION
                ModifyMenu(nPosition, pRecord->m_uMenuFlags | MF_BYPOSITION, 0, reinterpret_cast<LPCSTR>(pRecord));
        }
        else
        {
            const UINT nID = GetMenuItemID(nPosition);
            pRecord = ClaimRecord(nID);
            const std::string strText = PositionText(*this, nPosition);
            if (pRecord == nullptr)
            {
                pNew = ReplaceItemAt(nPosition, nID, strText.c_str(), nState | MF_BYPOSITION | MF_OWNERDRAW);
            }
            else
            {
                pRecord->m_uMenuFlags = (nState & ~FOREIGN_TYPE_FLAGS) | MF_BYPOSITION | MF_OWNERDRAW;
                if (!strText.empty())
                    pRecord->SetTextA(strText.c_str());
                ModifyMenu(nPosition, pRecord->m_uMenuFlags, nID, reinterpret_cast<LPCSTR>(pRecord));
            }
        }
        kept.push_back(pRecord);
        next.push_back(std::move(pNew));
    }

    DeleteUnclaimedRecords();
    for (size_t i = 0; i < next.size(); ++i)
    {
        if (next[i])
            continue;
        const auto itKept =
            std::find_if(m_Items.begin(), m_Items.end(), [&](const auto& pRecord) { return pRecord.get() == kept[i]; });
        next[i] = std::move(*itKept);
    }
    m_Items = std::move(next);
}

// ---- Destruction

void CSkinMenu::RemoveFromPopupList(HMENU hMenu)
{
    std::erase(m_AllPopupHandles, hMenu);
}

void CSkinMenu::ReleaseAppendedPopups()
{
    if (m_hMenu == nullptr)
        return;
    // The platform destroys submenus with their menu. A caller's popup that
    // a menu object holds stays with that object; a bare handle still goes
    // with this menu, as it always did.
    for (int nPosition = GetMenuItemCount() - 1; nPosition >= 0; --nPosition)
    {
        const HMENU hPopup = ::GetSubMenu(m_hMenu, nPosition);
        const bool bAppended =
            std::find(m_AppendedPopups.begin(), m_AppendedPopups.end(), hPopup) != m_AppendedPopups.end();
        if (hPopup != nullptr && bAppended && CMenu::FromHandlePermanent(hPopup) != nullptr)
            RemoveMenu(static_cast<UINT>(nPosition), MF_BYPOSITION);
    }
}

BOOL CSkinMenu::DestroyAll()
{
    if (m_hMenu != nullptr)
        RemoveFromPopupList(m_hMenu);
    ReleaseAppendedPopups();
    for (const HMENU hPopup : m_AppendedPopups)
        RemoveFromPopupList(hPopup);
    m_AppendedPopups.clear();
    // Last made first; each takes its own handle off the list.
    while (!m_OwnedPopups.empty())
        m_OwnedPopups.pop_back();
    m_Items.clear();
    return CMenu::DestroyMenu();
}

// ---- Class-wide queries

BOOL CSkinMenu::IsOwnPopup(const CMenu* pMenu)
{
    return pMenu != nullptr && IsOwnPopupHandle(pMenu->m_hMenu);
}

BOOL CSkinMenu::IsOwnPopupHandle(HMENU hMenu)
{
    return hMenu != nullptr &&
           std::find(m_AllPopupHandles.begin(), m_AllPopupHandles.end(), hMenu) != m_AllPopupHandles.end();
}

LRESULT CSkinMenu::FindMnemonic(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    auto* pSkinMenu = dynamic_cast<CSkinMenu*>(pMenu);
    if (pSkinMenu == nullptr || (nFlags & MF_POPUP) == 0)
        return 0;

    const char chKey = Lowered(std::string(1, static_cast<char>(nChar)))[0];
    const int nCount = pSkinMenu->GetMenuItemCount();
    if (nCount != pSkinMenu->GetRecordCount())
        pSkinMenu->SynchronizeRecords();
    for (int i = 0; i < nCount; ++i)
    {
        std::string strText;
        if (pSkinMenu->GetItemText(i, strText) && HasMnemonic(Lowered(strText), chKey))
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

BOOL CSkinMenu::IsThemedPlatform()
{
    return m_nOsVersion == CSkinMenuTheme::OS_WINXP && !CSkinMenuTheme::IsClassicTheme();
}

BOOL CSkinMenu::HasThreeImageSet(int n)
{
    const int nIds = static_cast<int>(m_SharedImageIds.size());
    if (n < 0 || n + 1 >= nIds || n + 2 >= nIds)
        return FALSE;
    const size_t i = static_cast<size_t>(n);
    return m_SharedImageIds[i] == m_SharedImageIds[i + 1] && m_SharedImageIds[i + 1] == m_SharedImageIds[i + 2];
}

// ---- Measuring and drawing

void CSkinMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    const auto* pRecord = reinterpret_cast<const CSkinMenuData*>(lpMeasureItemStruct->itemData);
    if (pRecord == nullptr)
        return;
    const bool bFlat = IsThemedPlatform() || m_nDrawStyle == 1;
    const int nPad = bFlat ? 7 : 4;

    if (pRecord->m_uMenuFlags & MF_SEPARATOR)
    {
        lpMeasureItemStruct->itemWidth = 0;
        lpMeasureItemStruct->itemHeight =
            static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU) >> 1, (m_nImageHeight + nPad) / 2));
        return;
    }

    CFont font;
    CSkinMenuTheme::CreateMenuFont(font);
    CClientDC dc(CSkinMenuTheme::GetMeasuringWindow());
    // In the font the platform draws menu items in, on every release: the
    // DC's own font would make the item too wide or cut its label off.
    const ScopedSelect selectFont(dc, font);
    const wchar_t* pwszText = pRecord->GetTextW() != nullptr ? pRecord->GetTextW() : L"";
    const int cx = static_cast<int>(dc.GetTextExtentW(pwszText, static_cast<int>(std::wcslen(pwszText))).cx);

    lpMeasureItemStruct->itemWidth =
        static_cast<UINT>(bFlat ? cx + m_nImageWidth + nPad + 8 : cx + 2 * m_nImageWidth + 1);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), m_nImageHeight + nPad));
}

void CSkinMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->itemData == 0)
        return;
    CSkinMenuPainter painter(*this, *lpDrawItemStruct);
    // Palette devices keep the classic look: its colours survive a palette.
    const bool bPalette = (::GetDeviceCaps(lpDrawItemStruct->hDC, RASTERCAPS) & RC_PALETTE) != 0;
    if (!bPalette && (IsThemedPlatform() || m_nDrawStyle == 1))
        painter.DrawFlat();
    else
        painter.DrawClassic();
}

BOOL CSkinMenu::MakeImageBitmap(int nImage, CDC* pDC, CImageList* pImages, CBitmap& bitmap) const
{
    const OwnedIcon icon(pImages->ExtractIcon(nImage));
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    bitmap.CreateCompatibleBitmap(pDC, m_nImageWidth, m_nImageHeight);
    const CBrush brushFace(::GetSysColor(COLOR_BTNFACE));
    const ScopedSelect selectBitmap(memDC, bitmap);
    ::DrawIconEx(memDC, 0, 0, icon.Get(), m_nImageWidth, m_nImageHeight, 0, brushFace, DI_NORMAL);
    return TRUE;
}
