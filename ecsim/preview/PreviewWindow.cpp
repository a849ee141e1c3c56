#include "PreviewWindow.h"

#include "Backlight.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace
{
    const char WINDOW_CLASS[] = "VelkorKeyboardPreview";
    const COLORREF DECK_COLOR = RGB(28, 29, 33);
    const COLORREF CAP_COLOR = RGB(44, 45, 52);
    const COLORREF TEXT_COLOR = RGB(200, 200, 205);
    const int MARGIN = 24;
    const int STATUS_HEIGHT = 48;
    const int KEY_GAP = 4;

    COLORREF Blend(COLORREF crFrom, COLORREF crTo, double dAmount)
    {
        auto mix = [dAmount](int a, int b) { return static_cast<int>(a + (b - a) * dAmount); };
        return RGB(
            mix(GetRValue(crFrom), GetRValue(crTo)), mix(GetGValue(crFrom), GetGValue(crTo)),
            mix(GetBValue(crFrom), GetBValue(crTo))
        );
    }

    COLORREF PowerColor(BYTE byPower)
    {
        switch (byPower)
        {
        case 1: return RGB(40, 110, 255);
        case 2: return RGB(40, 200, 80);
        case 3: return RGB(235, 50, 40);
        default: return RGB(90, 90, 96);
        }
    }
}   // namespace

PreviewWindow::PreviewWindow(std::string strStatePath)
    : m_strStatePath(std::move(strStatePath))
{
    m_hFontKey = CreateFontA(
        -13, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        CLEARTYPE_QUALITY, DEFAULT_PITCH, "Tahoma"
    );
    m_hFontStatus = CreateFontA(
        -16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        CLEARTYPE_QUALITY, DEFAULT_PITCH, "Tahoma"
    );
}

PreviewWindow::~PreviewWindow()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    ReleaseBackBuffer();
    DeleteObject(m_hFontKey);
    DeleteObject(m_hFontStatus);
}

bool PreviewWindow::Create(HINSTANCE hInstance, int nCmdShow)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = WINDOW_CLASS;
    // No background brush: every pixel comes from the back buffer.
    if (!GetClassInfoExA(hInstance, WINDOW_CLASS, &wc) && !RegisterClassExA(&wc))
        return false;

    RECT rc{0, 0, 2 * MARGIN + 900, 2 * MARGIN + 6 * 60 + STATUS_HEIGHT};
    AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
    m_dwStartTick = GetTickCount();
    // Top right of the work area, out of the way of the program's centred window.
    RECT rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    CreateWindowExA(
        0, WINDOW_CLASS, "Velkor keyboard preview", WS_OVERLAPPEDWINDOW, std::max(rcWork.left, rcWork.right - cx),
        rcWork.top, cx, cy, nullptr, nullptr, hInstance, this
    );
    if (!m_hWnd)
        return false;
    OnTimer();   // read the state before the first paint
    ShowWindow(m_hWnd, nCmdShow);
    return true;
}

LRESULT CALLBACK PreviewWindow::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE)
    {
        auto* pThis = static_cast<PreviewWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        pThis->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
    auto* pThis = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pThis)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    const LRESULT lResult = pThis->OnMessage(uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY)
    {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pThis->m_hWnd = nullptr;
    }
    return lResult;
}

LRESULT PreviewWindow::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_TIMER:
        if (wParam == TIMER_ID)
            OnTimer();
        return 0;
    case WM_SIZE:
        ReleaseBackBuffer();
        ScheduleTimer();   // minimised: stop animating
        return 0;
    case WM_ERASEBKGND: return 1;   // the paint covers everything
    case WM_PAINT: OnPaint(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    }
}

void PreviewWindow::OnTimer()
{
    if (!m_state.IsOpen())
        m_state.Open(m_strStatePath);
    const bool bOpen = m_state.IsOpen();
    const BYTE byMode = bOpen ? m_state.Mode() : 0xFF;
    const BYTE byPower = bOpen ? m_state.PowerLevel() : 0;
    const bool bChanged = bOpen != m_bStateOpen || byMode != m_byMode || byPower != m_byPower;
    m_bStateOpen = bOpen;
    m_byMode = byMode;
    m_byPower = byPower;
    if (bChanged || (m_bStateOpen && Backlight::IsAnimated(m_byMode)))
        InvalidateRect(m_hWnd, nullptr, FALSE);
    ScheduleTimer();
}

void PreviewWindow::ScheduleTimer()
{
    const bool bAnimating = m_bStateOpen && Backlight::IsAnimated(m_byMode) && !IsIconic(m_hWnd);
    const UINT uPeriod = bAnimating ? FRAME_MS : POLL_MS;
    if (uPeriod != m_uTimerPeriod && SetTimer(m_hWnd, TIMER_ID, uPeriod, nullptr))
        m_uTimerPeriod = uPeriod;
}

void PreviewWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    const SIZE size{rcClient.right, rcClient.bottom};
    if (!m_hdcBack || size.cx != m_sizeBack.cx || size.cy != m_sizeBack.cy)
    {
        ReleaseBackBuffer();
        m_hdcBack = CreateCompatibleDC(hdc);
        m_hbmBack = CreateCompatibleBitmap(hdc, size.cx, size.cy);
        m_hbmOldBack = SelectObject(m_hdcBack, m_hbmBack);
        m_sizeBack = size;
    }
    Render(m_hdcBack, rcClient, m_bStateOpen, m_byMode, m_byPower, GetTickCount() - m_dwStartTick);
    BitBlt(hdc, 0, 0, size.cx, size.cy, m_hdcBack, 0, 0, SRCCOPY);
    EndPaint(m_hWnd, &ps);
}

void PreviewWindow::ReleaseBackBuffer()
{
    if (m_hdcBack)
    {
        SelectObject(m_hdcBack, m_hbmOldBack);
        DeleteDC(m_hdcBack);
        DeleteObject(m_hbmBack);
    }
    m_hdcBack = nullptr;
    m_hbmBack = nullptr;
    m_hbmOldBack = nullptr;
}

RECT PreviewWindow::KeyboardArea(const RECT& rcClient)
{
    return {
        rcClient.left + MARGIN, rcClient.top + MARGIN, rcClient.right - MARGIN,
        rcClient.bottom - MARGIN - STATUS_HEIGHT};
}

RECT PreviewWindow::KeyRect(const KeyboardLayout::Key& key, const RECT& rcKeyboard)
{
    const int w = rcKeyboard.right - rcKeyboard.left, h = rcKeyboard.bottom - rcKeyboard.top;
    const int hUnits = KeyboardLayout::ROWS * KeyboardLayout::ROW_UNITS;
    RECT rc{
        rcKeyboard.left + MulDiv(key.rcUnits.left, w, KeyboardLayout::WIDTH_UNITS),
        rcKeyboard.top + MulDiv(key.rcUnits.top, h, hUnits),
        rcKeyboard.left + MulDiv(key.rcUnits.right, w, KeyboardLayout::WIDTH_UNITS),
        rcKeyboard.top + MulDiv(key.rcUnits.bottom, h, hUnits)};
    InflateRect(&rc, -KEY_GAP / 2, -KEY_GAP / 2);
    return rc;
}

void PreviewWindow::Render(HDC hdc, const RECT& rcClient, bool bStateOpen, BYTE byMode, BYTE byPower, DWORD tMs) const
{
    const int nSavedDC = SaveDC(hdc);
    SetDCBrushColor(hdc, DECK_COLOR);
    FillRect(hdc, &rcClient, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    const RECT rcKeyboard = KeyboardArea(rcClient);
    const double w = rcKeyboard.right - rcKeyboard.left, h = rcKeyboard.bottom - rcKeyboard.top;
    SelectObject(hdc, GetStockObject(DC_BRUSH));
    SelectObject(hdc, GetStockObject(DC_PEN));
    SelectObject(hdc, m_hFontKey);
    SetBkMode(hdc, TRANSPARENT);
    for (const KeyboardLayout::Key& key : m_layout.Keys())
    {
        RECT rc = KeyRect(key, rcKeyboard);
        const double xFrac = ((rc.left + rc.right) / 2.0 - rcKeyboard.left) / w;
        const double yFrac = ((rc.top + rc.bottom) / 2.0 - rcKeyboard.top) / h;
        // Unlit keys (no state file, unknown mode) keep the plain cap colour.
        const COLORREF crLight = bStateOpen ? Backlight::KeyColor(byMode, xFrac, yFrac, tMs) : RGB(0, 0, 0);
        // The light leaks round the cap and shines through the legend.
        SetDCPenColor(hdc, Blend(CAP_COLOR, crLight, 0.7));
        SetDCBrushColor(hdc, Blend(CAP_COLOR, crLight, 0.12));
        RoundRect(hdc, rc.left, rc.top, rc.right, rc.bottom, 8, 8);
        SetTextColor(hdc, Blend(RGB(70, 70, 76), crLight, 0.9));
        DrawTextA(hdc, key.pszLabel, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    DrawStatus(hdc, rcClient, bStateOpen, byMode, byPower);
    RestoreDC(hdc, nSavedDC);
}

void PreviewWindow::DrawStatus(HDC hdc, const RECT& rcClient, bool bStateOpen, BYTE byMode, BYTE byPower) const
{
    RECT rc{
        rcClient.left + MARGIN, rcClient.bottom - MARGIN - STATUS_HEIGHT + 12, rcClient.right - MARGIN,
        rcClient.bottom - MARGIN / 2};
    SelectObject(hdc, m_hFontStatus);
    SetTextColor(hdc, TEXT_COLOR);
    char szText[MAX_PATH + 64];
    if (!bStateOpen)
    {
        std::snprintf(szText, sizeof szText, "Waiting for the simulator's state file %s", m_strStatePath.c_str());
        DrawTextA(hdc, szText, -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
        return;
    }
    char szMode[64];
    Backlight::ModeName(byMode, szMode, sizeof szMode);
    std::snprintf(szText, sizeof szText, "Keyboard light: %s", szMode);
    DrawTextA(hdc, szText, -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    // Power level as a coloured badge on the right, blue/green/red like the popup.
    if (byPower >= 1 && byPower <= 3)
        std::snprintf(szText, sizeof szText, "Power level P%d", byPower);
    else
        std::snprintf(szText, sizeof szText, "Power level: none (0x%02X)", byPower);
    const int nBadge = 16;
    RECT rcText = rc;
    DrawTextA(hdc, szText, -1, &rcText, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int cxText = rcText.right - rcText.left;
    rcText = {rc.right - cxText, rc.top, rc.right, rc.bottom};
    DrawTextA(hdc, szText, -1, &rcText, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    const int yMid = (rc.top + rc.bottom) / 2;
    SetDCBrushColor(hdc, PowerColor(byPower));
    SetDCPenColor(hdc, PowerColor(byPower));
    SelectObject(hdc, GetStockObject(DC_BRUSH));
    SelectObject(hdc, GetStockObject(DC_PEN));
    Ellipse(hdc, rcText.left - nBadge - 8, yMid - nBadge / 2, rcText.left - 8, yMid + nBadge / 2);
}
