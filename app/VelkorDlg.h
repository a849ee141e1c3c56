#pragma once
#include "app/SkinIconCache.h"
#include "controls/button/SkinButton.h"
#include "ec/EcAccess.h"
#include "ec/LedMode.h"
#include "framework/Brush.h"
#include "framework/Dialog.h"
#include "notify/PowerWatch.h"
#include "notify/TrayIcon.h"

#include <string>

// The main window: a caption-less skinned dialog with five keyboard-light mode
// buttons, MIN (to the tray) and Exit. It lives for the whole run and owns the
// EC access, the background brush and the buttons. Construction binds and
// probes the EC and ends the process when it cannot be used.
//
// Escape, Enter, Alt+F4, Cancel and the system menu's Close do nothing; the
// process ends only through Exit, the OK command, the tray menu or the end of
// the session, at once and with exit status 0, leaving the EC in the mode it has.
class CVelkorDlg : public CDialog
{
public:
    // The window has no caption: the text shows on the taskbar and in the task
    // switcher, and a second start finds the running window by it.
    static constexpr char WINDOW_TEXT[] = "Glowdeck--support@glowdeck.example";

    CVelkorDlg(CWnd* pParent = nullptr);

    // The sign-in start: the window goes away into the notification area as it
    // is made, never shown, as if MIN were pressed at once. When the shell does
    // not take the tray icon it is shown after all.
    void StartInTray() { m_bStartInTray = true; }

    // ---- Overrideables
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    bool IsShownAtStart() const override;
    const MessageMap* GetMessageMap() const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // ---- Message map and handlers
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnBnClickedOn();
    void OnBnClickedRainBow();
    void OnBnClickedBreath();
    void OnBnClickedColorLoop();
    void OnBnClickedAuto();
    void OnBnClickedCancel();
    void OnBnClickedExit();

    // Tray icon and power watch: handed on to m_trayIcon and m_powerWatch.
    void OnBnClickedMin();
    void OnBnClickedStatic();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivateInstance(WPARAM wParam, LPARAM lParam);
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

    // Sign-out, shutdown, and an installer's restart manager closing the program.
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);

    // ---- Data members (constructed in this order)
    EcAccess m_ec;
    HICON m_hIcon;
    CTrayIcon m_trayIcon;   // the tray icon and its menu; knows whether the window is in the tray
    CPowerWatch m_powerWatch;   // polls the power level, owns the power popup
    CBrush m_brushBg;
    CSkinButton m_btnMin;
    CSkinButton m_btnExit;
    CSkinButton m_btnOn;
    CSkinButton m_btnStatic;
    CSkinButton m_btnBreath;
    CSkinButton m_btnColorLoop;
    CSkinButton m_btnRainBow;
    CSkinButton m_btnAuto;
    std::wstring m_strExeDir;   // UTF-16: the install folder may be named in any script
    std::wstring m_strSkinDir;
    WORD m_wLangId;
    SkinIconCache m_skinIcons;   // the pictures of m_strSkinDir, shared with the buttons
    size_t m_nPicturesReadAhead;   // of MODE_BUTTONS, by OnKickIdle
    bool m_bStartInTray = false;

private:
    struct ModeButton;
    struct ModeChange;
    // The six buttons a mode change re-images, with their pictures.
    static const ModeButton MODE_BUTTONS[];
    // What each mode button's click does, in the order of its steps.
    static const ModeChange MODE_CHANGES[];

    // ---- Implementation
    void EndUnlessEcReady();
    void AddAboutItem();
    void LoadSkin();
    void MakeBackgroundBrush();
    void SetButtonIcon(CSkinButton& button, const wchar_t* pszIconFile);
    static const ModeButton& ModeButtonOf(CSkinButton CVelkorDlg::*pButton);
    void SelectMode(LedMode mode);
};
