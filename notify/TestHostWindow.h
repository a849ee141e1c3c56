#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/Wnd.h"

// A top-level window standing in for the main dialog in the notify tests: it
// owns the popup and the tray icon under test, and records and drives the
// tray menu it owns while that is open.
class TestHostWindow : public CWnd
{
public:
    // Creates the window hidden.
    TestHostWindow();

    // Data members
    // Posted to the tray menu, in order, once it waits for input (Escape when empty).
    std::vector<WORD> m_menuKeys;
    // The (command, text) items of the last menu that opened.
    std::vector<std::pair<UINT, std::wstring>> m_menuItems;

protected:
    // Message map and handlers
    const MessageMap* GetMessageMap() const override;
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnterIdle(WPARAM wParam, LPARAM lParam);
};
