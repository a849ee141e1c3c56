#include "tests/support/WindowQuery.h"

#include <shellapi.h>

namespace
{
    constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

    struct WindowSearch
    {
        DWORD dwPid;
        bool bAll;
        std::vector<HWND> found;
    };

    BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
    {
        auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
        DWORD dwOwnerPid = 0;
        GetWindowThreadProcessId(hWnd, &dwOwnerPid);
        if (dwOwnerPid == pSearch->dwPid && (pSearch->bAll || IsWindowVisible(hWnd)))
            pSearch->found.push_back(hWnd);
        return TRUE;
    }

    bool IsDialogClass(HWND hWnd)
    {
        return WindowQuery::ClassName(hWnd) == L"#32770";
    }
}

namespace WindowQuery
{
    std::vector<HWND> TopLevelWindows(DWORD dwPid, bool bAll)
    {
        WindowSearch search{dwPid, bAll, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND MainWindow(DWORD dwPid)
    {
        for (HWND hWnd : TopLevelWindows(dwPid))
            if (GetWindow(hWnd, GW_OWNER) == nullptr)
                return hWnd;
        return nullptr;
    }

    HWND OpenMenu(DWORD dwPid)
    {
        for (HWND hWnd : TopLevelWindows(dwPid))
            if (ClassName(hWnd) == L"#32768")
                return hWnd;
        return nullptr;
    }

    std::vector<HWND> MessageBoxes(DWORD dwPid)
    {
        std::vector<HWND> boxes;
        for (HWND hWnd : OwnedDialogs(dwPid))
            if (GetDlgItem(hWnd, MESSAGE_BOX_TEXT_ID))
                boxes.push_back(hWnd);
        return boxes;
    }

    std::vector<HWND> OwnedDialogs(DWORD dwPid)
    {
        std::vector<HWND> dialogs;
        for (HWND hWnd : TopLevelWindows(dwPid))
            if (IsDialogClass(hWnd) && GetWindow(hWnd, GW_OWNER) != nullptr)
                dialogs.push_back(hWnd);
        return dialogs;
    }

    std::wstring Text(HWND hWnd)
    {
        // WM_GETTEXT asks the window itself, as GetWindowText does not for another
        // process's controls; the time-out keeps a hung program from hanging the test.
        DWORD_PTR nLen = 0;
        if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &nLen))
            return {};
        std::wstring str(nLen + 1, L'\0');
        DWORD_PTR nGot = 0;
        if (!SendMessageTimeoutW(
                hWnd, WM_GETTEXT, str.size(), reinterpret_cast<LPARAM>(str.data()), SMTO_ABORTIFHUNG, 5000, &nGot
            ))
            return {};
        str.resize(nGot);
        return str;
    }

    std::wstring ClassName(HWND hWnd)
    {
        wchar_t sz[256];
        int nLen = GetClassNameW(hWnd, sz, 256);
        return std::wstring(sz, nLen > 0 ? nLen : 0);
    }

    std::wstring MessageBoxText(HWND hMsgBox)
    {
        HWND hText = GetDlgItem(hMsgBox, MESSAGE_BOX_TEXT_ID);
        return hText ? Text(hText) : std::wstring();
    }

    std::vector<HWND> VisibleButtons(HWND hDialog)
    {
        std::vector<HWND> buttons;
        for (HWND hChild : Children(hDialog))
            if (ClassName(hChild) == L"Button" && IsWindowVisible(hChild))
                buttons.push_back(hChild);
        return buttons;
    }

    std::vector<HWND> Children(HWND hParent)
    {
        std::vector<HWND> children;
        for (HWND h = GetWindow(hParent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            children.push_back(h);
        return children;
    }

    RECT ScreenRect(HWND hWnd)
    {
        RECT rc = {};
        GetWindowRect(hWnd, &rc);
        return rc;
    }

    bool TrayIconExists(HWND hWnd, UINT uId)
    {
        // Changing nothing about an icon succeeds exactly when the shell has it.
        NOTIFYICONDATAW nid = {};
        nid.cbSize = sizeof(nid);
        nid.hWnd = hWnd;
        nid.uID = uId;
        return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
    }
}
