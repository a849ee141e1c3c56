#pragma once
// The keyboard preview window: shows the backlight that the simulator's mode
// byte asks for and the power level the EC reports. It draws into a back
// buffer (no flicker) and asks for frames only while the picture moves.
#include "EcStateView.h"
#include "KeyboardLayout.h"

#include <windows.h>

#include <string>

class PreviewWindow
{
public:
    static const UINT_PTR TIMER_ID = 1;
    static const UINT FRAME_MS = 33;   // ~30 frames a second while animating
    static const UINT POLL_MS = 200;   // otherwise only notice changes of the state file

    explicit PreviewWindow(std::string strStatePath);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    bool Create(HINSTANCE hInstance, int nCmdShow);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Draws the whole picture for the given state; shared by WM_PAINT and tests.
    void Render(HDC hdc, const RECT& rcClient, bool bStateOpen, BYTE byMode, BYTE byPower, DWORD tMs) const;

    // The key rectangle in client pixels for a given client size.
    static RECT KeyRect(const KeyboardLayout::Key& key, const RECT& rcKeyboard);
    static RECT KeyboardArea(const RECT& rcClient);

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnTimer();
    void OnPaint();
    void DrawStatus(HDC hdc, const RECT& rcClient, bool bStateOpen, BYTE byMode, BYTE byPower) const;
    void ReleaseBackBuffer();
    void ScheduleTimer();

    HWND m_hWnd = nullptr;
    HFONT m_hFontKey = nullptr;
    HFONT m_hFontStatus = nullptr;
    HDC m_hdcBack = nullptr;
    HBITMAP m_hbmBack = nullptr;
    HGDIOBJ m_hbmOldBack = nullptr;
    SIZE m_sizeBack{};
    EcStateView m_state;
    std::string m_strStatePath;
    KeyboardLayout m_layout;
    DWORD m_dwStartTick = 0;
    BYTE m_byMode = 0xFF;
    BYTE m_byPower = 0;
    bool m_bStateOpen = false;
    UINT m_uTimerPeriod = 0;
};
