#include "framework/MessageMap.h"
#include "framework/DC.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"

bool MessageEntry::Matches(UINT message, WPARAM wParam) const
{
    if (message < nMessage || message > nLastMessage)
        return false;
    if (!bCommand)
        return true;
    if (HIWORD(wParam) != nCode)
        return false;
    // A reflected notification comes from the control itself: any id.
    return message >= WM_REFLECT_BASE || LOWORD(wParam) == nId;
}

MessageMap::MessageMap(const MessageMap* pBaseMap, std::initializer_list<MessageEntry> entries)
    : m_pBaseMap(pBaseMap),
      m_entries(entries)
{}

const MessageEntry* MessageMap::Find(UINT nMessage, WPARAM wParam) const
{
    for (const MessageMap* pMap = this; pMap != nullptr; pMap = pMap->m_pBaseMap)
        for (const MessageEntry& entry : pMap->m_entries)
            if (entry.Matches(nMessage, wParam))
                return &entry;
    return nullptr;
}

namespace message_map_detail
{
    CWnd* WndFromHandle(HWND hWnd)
    {
        return CWnd::FromHandle(hWnd);
    }

    CDC* DCFromHandle(HDC hDC)
    {
        return CDC::FromHandle(hDC);
    }

    CMenu* MenuFromHandle(HMENU hMenu)
    {
        return CMenu::FromHandle(hMenu);
    }
}   // namespace message_map_detail
