#pragma once
#include <windows.h>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>
#include "framework/Point.h"

class CWnd;
class CDC;
class CMenu;

// Notifications a parent hands back to the child control that sent them are
// dispatched as WM_REFLECT_BASE + the original message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// One row of a message map. The handler unpacks wParam/lParam into the typed
// arguments of a member function ("cracks" the message), calls it on the
// window object, and stores the result. It returns false when the message
// should go on as if no entry had matched (a reflected click handler that
// returns FALSE, so the parent sees the click too).
struct MessageEntry
{
    using Handler = std::function<bool(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)>;

    UINT nMessage;   // first message matched
    UINT nLastMessage;   // last message matched (the control-colour range)
    bool bCommand;   // WM_COMMAND-like: also match the notification code (and id)
    UINT nCode;   // notification code, HIWORD(wParam)
    UINT nId;   // control or command id, LOWORD(wParam); unused when reflected
    Handler pfnHandler;

    bool Matches(UINT message, WPARAM wParam) const;
};

// A class's table of entries plus a link to its base class's table. Lookup
// tries this table in order, then the base's: the first match wins.
class MessageMap
{
public:
    MessageMap(const MessageMap* pBaseMap, std::initializer_list<MessageEntry> entries);

    // Names the window class the table belongs to; a class that is not a
    // window is refused at compile time. The entries' handlers are checked
    // only for their signatures, so a handler must be a member of TWnd or
    // of one of its bases: nothing here checks that.
    template <class TWnd> static MessageMap Of(const MessageMap* pBaseMap, std::initializer_list<MessageEntry> entries)
    {
        static_assert(std::is_base_of_v<CWnd, TWnd>, "message maps belong to window classes");
        return MessageMap(pBaseMap, entries);
    }

    // The first entry matching: own table in order, then the base's.
    const MessageEntry* Find(UINT nMessage, WPARAM wParam) const;
    const MessageMap* GetBaseMap() const { return m_pBaseMap; }

private:
    const MessageMap* m_pBaseMap;
    std::vector<MessageEntry> m_entries;
};

// Lookups the crackers need, defined where CWnd, CDC and CMenu are complete.
namespace message_map_detail
{
    CWnd* WndFromHandle(HWND hWnd);
    CDC* DCFromHandle(HDC hDC);
    CMenu* MenuFromHandle(HMENU hMenu);

    inline MessageEntry Entry(UINT nMessage, MessageEntry::Handler pfnHandler)
    {
        return MessageEntry{nMessage, nMessage, false, 0, 0, std::move(pfnHandler)};
    }

    inline MessageEntry CommandEntry(UINT nMessage, UINT nCode, UINT nId, MessageEntry::Handler pfnHandler)
    {
        return MessageEntry{nMessage, nMessage, true, nCode, nId, std::move(pfnHandler)};
    }

    // CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC from a (possibly reflected) WM_CTLCOLOR* message.
    inline UINT CtlColorKind(UINT message)
    {
        return (message >= WM_REFLECT_BASE ? message - WM_REFLECT_BASE : message) - WM_CTLCOLORMSGBOX;
    }

    template <class TResult> LRESULT ToLResult(TResult result)
    {
        if constexpr (std::is_pointer_v<TResult>)
            return reinterpret_cast<LRESULT>(result);
        else
            return static_cast<LRESULT>(result);
    }

    // An entry for nMessage that runs call(T& wnd, message, wParam, lParam); its
    // result answers the message (0 when it returns nothing).
    template <class T, class TCall> MessageEntry Crack(UINT nMessage, TCall call)
    {
        return Entry(nMessage, [call](CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
            T& target = static_cast<T&>(wnd);
            if constexpr (std::is_void_v<decltype(call(target, message, wParam, lParam))>)
            {
                call(target, message, wParam, lParam);
                lResult = 0;
            }
            else
            {
                lResult = ToLResult(call(target, message, wParam, lParam));
            }
            return true;
        });
    }
}   // namespace message_map_detail

// ---- Window messages -------------------------------------------------------

// void OnPaint()
template <class T> MessageEntry OnWmPaint(void (T::*pfn)())
{
    return message_map_detail::Crack<T>(WM_PAINT, [pfn](T& wnd, UINT, WPARAM, LPARAM) { (wnd.*pfn)(); });
}

// void OnShowWindow(BOOL bShow, UINT nStatus)
template <class T> MessageEntry OnWmShowWindow(void (T::*pfn)(BOOL, UINT))
{
    return message_map_detail::Crack<T>(WM_SHOWWINDOW, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    });
}

// void OnTimer(UINT_PTR nIDEvent)
template <class T> MessageEntry OnWmTimer(void (T::*pfn)(UINT_PTR))
{
    return message_map_detail::Crack<T>(WM_TIMER, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM) {
        (wnd.*pfn)(static_cast<UINT_PTR>(wParam));
    });
}

// void OnSysCommand(UINT nID, LPARAM lParam)
template <class T> MessageEntry OnWmSysCommand(void (T::*pfn)(UINT, LPARAM))
{
    return message_map_detail::Crack<T>(WM_SYSCOMMAND, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn)(static_cast<UINT>(wParam), lParam);
    });
}

// HCURSOR OnQueryDragIcon()
template <class T> MessageEntry OnWmQueryDragIcon(HCURSOR (T::*pfn)())
{
    return message_map_detail::Crack<T>(WM_QUERYDRAGICON, [pfn](T& wnd, UINT, WPARAM, LPARAM) { return (wnd.*pfn)(); });
}

// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor), for every
// WM_CTLCOLOR* message; nCtlColor is one of the CTLCOLOR_* values.
template <class T> MessageEntry OnWmCtlColor(HBRUSH (T::*pfn)(CDC*, CWnd*, UINT))
{
    MessageEntry entry =
        message_map_detail::Crack<T>(WM_CTLCOLORMSGBOX, [pfn](T& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
            return (wnd.*pfn)(
                message_map_detail::DCFromHandle(reinterpret_cast<HDC>(wParam)),
                message_map_detail::WndFromHandle(reinterpret_cast<HWND>(lParam)),
                message_map_detail::CtlColorKind(message)
            );
        });
    entry.nLastMessage = WM_CTLCOLORSTATIC;
    return entry;
}

// void OnLButtonDown(UINT nFlags, CPoint point)
template <class T> MessageEntry OnWmLButtonDown(void (T::*pfn)(UINT, CPoint))
{
    return message_map_detail::Crack<T>(WM_LBUTTONDOWN, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn)(static_cast<UINT>(wParam), CPoint(lParam));
    });
}

// void OnMouseMove(UINT nFlags, CPoint point)
template <class T> MessageEntry OnWmMouseMove(void (T::*pfn)(UINT, CPoint))
{
    return message_map_detail::Crack<T>(WM_MOUSEMOVE, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn)(static_cast<UINT>(wParam), CPoint(lParam));
    });
}

// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
template <class T> MessageEntry OnWmSetCursor(BOOL (T::*pfn)(CWnd*, UINT, UINT))
{
    return message_map_detail::Crack<T>(WM_SETCURSOR, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        return (wnd.*pfn)(
            message_map_detail::WndFromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam)
        );
    });
}

// void OnKillFocus(CWnd* pNewWnd)
template <class T> MessageEntry OnWmKillFocus(void (T::*pfn)(CWnd*))
{
    return message_map_detail::Crack<T>(WM_KILLFOCUS, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM) {
        (wnd.*pfn)(message_map_detail::WndFromHandle(reinterpret_cast<HWND>(wParam)));
    });
}

// void OnSysColorChange()
template <class T> MessageEntry OnWmSysColorChange(void (T::*pfn)())
{
    return message_map_detail::Crack<T>(WM_SYSCOLORCHANGE, [pfn](T& wnd, UINT, WPARAM, LPARAM) { (wnd.*pfn)(); });
}

// void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
template <class T> MessageEntry OnWmActivate(void (T::*pfn)(UINT, CWnd*, BOOL))
{
    return message_map_detail::Crack<T>(WM_ACTIVATE, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn
        )(LOWORD(wParam), message_map_detail::WndFromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam) != 0);
    });
}

// void OnEnable(BOOL bEnable)
template <class T> MessageEntry OnWmEnable(void (T::*pfn)(BOOL))
{
    return message_map_detail::Crack<T>(WM_ENABLE, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM) {
        (wnd.*pfn)(static_cast<BOOL>(wParam));
    });
}

// void OnCancelMode()
template <class T> MessageEntry OnWmCancelMode(void (T::*pfn)())
{
    return message_map_detail::Crack<T>(WM_CANCELMODE, [pfn](T& wnd, UINT, WPARAM, LPARAM) { (wnd.*pfn)(); });
}

// UINT OnGetDlgCode()
template <class T> MessageEntry OnWmGetDlgCode(UINT (T::*pfn)())
{
    return message_map_detail::Crack<T>(WM_GETDLGCODE, [pfn](T& wnd, UINT, WPARAM, LPARAM) { return (wnd.*pfn)(); });
}

// LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
template <class T> MessageEntry OnWmMenuChar(LRESULT (T::*pfn)(UINT, UINT, CMenu*))
{
    return message_map_detail::Crack<T>(WM_MENUCHAR, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        return (wnd.*pfn)(
            LOWORD(wParam), HIWORD(wParam), message_map_detail::MenuFromHandle(reinterpret_cast<HMENU>(lParam))
        );
    });
}

// void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
template <class T> MessageEntry OnWmMeasureItem(void (T::*pfn)(int, LPMEASUREITEMSTRUCT))
{
    return message_map_detail::Crack<T>(WM_MEASUREITEM, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn)(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    });
}

// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
template <class T> MessageEntry OnWmDrawItem(void (T::*pfn)(int, LPDRAWITEMSTRUCT))
{
    return message_map_detail::Crack<T>(WM_DRAWITEM, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        (wnd.*pfn)(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    });
}

// void OnMouseLeave()
template <class T> MessageEntry OnWmMouseLeave(void (T::*pfn)())
{
    return message_map_detail::Crack<T>(WM_MOUSELEAVE, [pfn](T& wnd, UINT, WPARAM, LPARAM) { (wnd.*pfn)(); });
}

// LRESULT OnXxx(WPARAM wParam, LPARAM lParam) for any message, including
// BM_* messages and ids registered at run time (RegisterWindowMessage).
template <class T> MessageEntry OnMessage(UINT nMessage, LRESULT (T::*pfn)(WPARAM, LPARAM))
{
    return message_map_detail::Crack<T>(nMessage, [pfn](T& wnd, UINT, WPARAM wParam, LPARAM lParam) {
        return (wnd.*pfn)(wParam, lParam);
    });
}

// ---- Commands and notifications from child controls -----------------------

// void OnXxx() for WM_COMMAND with notification nCode from control nId.
template <class T> MessageEntry OnControl(UINT nCode, UINT nId, void (T::*pfn)())
{
    return message_map_detail::CommandEntry(
        WM_COMMAND, nCode, nId,
        [pfn](CWnd& wnd, UINT, WPARAM, LPARAM, LRESULT& lResult) {
            (static_cast<T&>(wnd).*pfn)();
            lResult = 0;
            return true;
        }
    );
}

// void OnBnClickedXxx() for a button's click, or a menu command, with id nId.
template <class T> MessageEntry OnBnClicked(UINT nId, void (T::*pfn)())
{
    return OnControl(BN_CLICKED, nId, pfn);
}

// ---- Notifications reflected back to the control that sent them -----------

// BOOL OnReflectedClick(): the control's own handling of its BN_CLICKED.
// Returning FALSE lets the parent receive the notification too; TRUE swallows it.
template <class T> MessageEntry OnReflectedBnClicked(BOOL (T::*pfn)())
{
    return message_map_detail::CommandEntry(
        WM_REFLECT_BASE + WM_COMMAND, BN_CLICKED, 0,
        [pfn](CWnd& wnd, UINT, WPARAM, LPARAM, LRESULT& lResult) {
            lResult = 0;
            return (static_cast<T&>(wnd).*pfn)() != FALSE;
        }
    );
}

// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a control colouring itself. A
// null brush leaves the answer to the parent.
template <class T> MessageEntry OnReflectedCtlColor(HBRUSH (T::*pfn)(CDC*, UINT))
{
    MessageEntry entry = message_map_detail::Entry(
        WM_REFLECT_BASE + WM_CTLCOLORMSGBOX,
        [pfn](CWnd& wnd, UINT message, WPARAM wParam, LPARAM, LRESULT& lResult) {
            HBRUSH hBrush =
                (static_cast<T&>(wnd).*pfn
                )(message_map_detail::DCFromHandle(reinterpret_cast<HDC>(wParam)),
                  message_map_detail::CtlColorKind(message));
            lResult = reinterpret_cast<LRESULT>(hBrush);
            return hBrush != nullptr;
        }
    );
    entry.nLastMessage = WM_REFLECT_BASE + WM_CTLCOLORSTATIC;
    return entry;
}
