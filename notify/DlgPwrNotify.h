#pragma once
#include <string>

#include "framework/Brush.h"
#include "framework/Dialog.h"

// The small borderless popup that shows the power level the EC has just
// reported: the blue, green or red picture of the skin folder as its whole
// face, centred on the desktop and kept above other windows.
//
// Created modeless (template IDD_PWR_NOTIFY) by its owner, which then sets
// m_nLevel and m_bLowered and shows it without activating it. On its first
// showing it places itself, becomes topmost and hides itself again after a
// second; afterwards it keeps its place and only its owner shows and hides it.
// Every 100 ms it repaints with the picture of the current m_nLevel.
class CDlgPwrNotify : public CDialog
{
public:
    explicit CDlgPwrNotify(std::wstring strSkinDir);

    // Sizes the window to the level-1 picture and centres it on the desktop
    // (half its height lower when m_bLowered is set).
    void PlaceOnDesktop();

    // Data members, set by the owner at any time
    bool m_bLowered = false;   // stand half the picture's height below the centre
    int m_nLevel = 0;   // 1 blue, 2 green, anything else red

protected:
    // Overrideables
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Message map and handlers
    const MessageMap* GetMessageMap() const override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnBnClickedTest();

private:
    // Implementation
    bool LoadPictureBrush(const wchar_t* pszName, CBrush& brush, BITMAP* pInfo);
    HBRUSH LevelBrush() const;
    void Refresh();

    // Data members
    BITMAP m_bmInfo = {};   // metrics of the level-1 picture: the popup's size
    CBrush m_brP3Red;
    CBrush m_brP2Green;
    CBrush m_brP1Blue;
    std::wstring m_strSkinDir;
    std::string m_strPwrText;   // shown by the (hidden) text control
};
