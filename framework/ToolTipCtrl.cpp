#include "framework/ToolTipCtrl.h"
#include <commctrl.h>

namespace
{
    // A tool is named by the window it covers, or by an id within pWnd.
    TTTOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
    {
        TTTOOLINFOA ti{};
        // The size every common-controls version accepts.
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
        if (nIDTool == 0)
        {
            ti.hwnd = ::GetParent(hWnd);
            ti.uFlags = TTF_IDISHWND;
            ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
        }
        else
        {
            ti.hwnd = hWnd;
            ti.uId = nIDTool;
        }
        return ti;
    }
}   // namespace

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | dwStyle, rect, pParentWnd, 0);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const char* lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TTTOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    if (lpRectTool != nullptr)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        pWnd->GetClientRect(&ti.rect);
    ti.lpszText = const_cast<char*>(lpszText != nullptr ? lpszText : "");
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(const char* lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<char*>(lpszText != nullptr ? lpszText : "");
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

std::string CToolTipCtrl::GetText(CWnd* pWnd, UINT_PTR nIDTool) const
{
    // The control copies at most INFOTIPSIZE characters.
    char szText[INFOTIPSIZE + 1] = {};
    TTTOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.lpszText = szText;
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&ti));
    return szText;
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}
void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}
void CToolTipCtrl::Activate(BOOL bActivate)
{
    SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate));
}
int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth));
}
int CToolTipCtrl::GetMaxTipWidth() const
{
    return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH));
}
