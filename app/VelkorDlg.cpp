#include "app/VelkorDlg.h"

#include "app/AboutDlg.h"
#include "app/ModeClick.h"
#include "app/SingleInstance.h"
#include "app/SkinDirectory.h"
#include "ec/IsaBusMutex.h"
#include "framework/Afx.h"
#include "framework/DataExchange.h"
#include "framework/FilePath.h"
#include "framework/Menu.h"
#include "framework/PaintDC.h"
#include "res/resource.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace
{
    constexpr wchar_t BACKGROUND_FILE[] = L"0_BG.bmp";

    // The background message box's texts are Chinese; given as UTF-16 they read
    // correctly whatever the system's ANSI code page is.
    // "导入背景图失败,使用默认图片!" under the caption "提示".
    constexpr wchar_t BACKGROUND_FAILED_TEXT[] =
        L"\u5BFC\u5165\u80CC\u666F\u56FE\u5931\u8D25,\u4F7F\u7528\u9ED8\u8BA4\u56FE\u7247!";
    constexpr wchar_t NOTICE_CAPTION[] = L"\u63D0\u793A";

    // How long the chip probe at start waits in all for another program to
    // let go of the EC ports, how long each power poll waits (the window
    // answers nothing meanwhile; a poll that cannot have them is skipped), and
    // how long a mode change waits for its two bytes. No access is made once
    // a wait ran out.
    constexpr DWORD PROBE_WAIT_LIMIT_MS = 5000;
    constexpr DWORD POLL_WAIT_LIMIT_MS = 100;
    constexpr DWORD MODE_CHANGE_WAIT_LIMIT_MS = 1000;

    // The messages on the EC ports and the pictures: in Chinese where the skin
    // is Chinese, given as UTF-16 like the texts above.
    struct Texts
    {
        const wchar_t* pszEnglish;
        const wchar_t* pszChinese;
        const wchar_t* In(WORD wLangId) const { return wLangId == LANG_ID_CHINESE_PRC ? pszChinese : pszEnglish; }
    };
    // "另一个程序正在使用 EC 端口，Velkor 现在无法读取键盘控制器，将会退出。请稍后再试。"
    constexpr Texts PORTS_BUSY_AT_START = {
        L"Another program is using the EC ports, so Velkor cannot read the keyboard controller now and will "
        L"close.\n\nPlease try again in a moment.",
        L"\u53E6\u4E00\u4E2A\u7A0B\u5E8F\u6B63\u5728\u4F7F\u7528 EC \u7AEF\u53E3\uFF0CVelkor "
        L"\u73B0\u5728\u65E0\u6CD5\u8BFB\u53D6\u952E\u76D8\u63A7\u5236\u5668\uFF0C\u5C06\u4F1A\u9000\u51FA\u3002\u8BF7"
        L"\u7A0D\u540E\u518D\u8BD5\u3002"};
    // "另一个程序正在使用 EC 端口，键盘灯光模式没有更改。请稍后再试。"
    constexpr Texts PORTS_BUSY_FOR_MODE = {
        L"Another program is using the EC ports right now, so the keyboard light was not changed.\n\nPlease "
        L"try again in a moment.",
        L"\u53E6\u4E00\u4E2A\u7A0B\u5E8F\u6B63\u5728\u4F7F\u7528 EC "
        L"\u7AEF\u53E3\uFF0C\u952E\u76D8\u706F\u5149\u6A21\u5F0F\u6CA1\u6709\u66F4\u6539\u3002\u8BF7\u7A0D\u540E\u518D"
        L"\u8BD5\u3002"};

    // "键盘灯光模式已更改，但有按钮的图片无法载入，该按钮暂不显示图片。下次点击时会重新载入。"
    constexpr Texts PICTURE_FAILED = {
        L"The keyboard light was changed, but a button's picture could not be loaded, so that button shows none "
        L"for now.\n\nIt is loaded again at the next click.",
        L"\u952E\u76D8\u706F\u5149\u6A21\u5F0F\u5DF2\u66F4\u6539\uFF0C\u4F46\u6709\u6309\u94AE\u7684\u56FE"
        L"\u7247\u65E0\u6CD5\u8F7D\u5165\uFF0C\u8BE5\u6309\u94AE\u6682\u4E0D\u663E\u793A\u56FE\u7247\u3002"
        L"\u4E0B\u6B21\u70B9\u51FB\u65F6\u4F1A\u91CD\u65B0\u8F7D\u5165\u3002"};

    // Why the ports cannot be shared, when their mutex can be neither created
    // nor opened: "EC 端口的互斥体 NAME 正被另一个程序使用，无法共享（REASON）。
    // 该程序可能正在使用端口，因此 Velkor 将会退出，不会访问端口。"
    std::wstring PortMutexUnavailableText(DWORD dwError, WORD wLangId)
    {
        const bool bChinese = wLangId == LANG_ID_CHINESE_PRC;
        std::wstring strReason;
        if (dwError == ERROR_ACCESS_DENIED)
            strReason = bChinese ? L"\u62D2\u7EDD\u8BBF\u95EE" : L"access denied";
        else if (dwError == ERROR_INVALID_HANDLE)
            strReason = bChinese ? L"\u5176\u540D\u79F0\u5DF2\u88AB\u53E6\u4E00\u79CD\u5BF9\u8C61\u5360\u7528"
                                 : L"its name is taken by another kind of object";
        else
            strReason = (bChinese ? L"\u9519\u8BEF " : L"error ") + std::to_wstring(dwError);
        const std::string strName = IsaBusMutex::NAME;
        const std::wstring strMutex(strName.begin(), strName.end());
        if (bChinese)
            return L"EC \u7AEF\u53E3\u7684\u4E92\u65A5\u4F53 " + strMutex +
                   L" \u6B63\u88AB\u53E6\u4E00\u4E2A\u7A0B\u5E8F\u4F7F\u7528\uFF0C\u65E0\u6CD5\u5171\u4EAB\uFF08" +
                   strReason +
                   L"\uFF09\u3002\u8BE5\u7A0B\u5E8F\u53EF\u80FD\u6B63\u5728\u4F7F\u7528\u7AEF\u53E3\uFF0C\u56E0\u6B64 "
                   L"Velkor \u5C06\u4F1A\u9000\u51FA\uFF0C\u4E0D\u4F1A\u8BBF\u95EE\u7AEF\u53E3\u3002";
        return L"The EC ports' mutex, " + strMutex + L", is in use by another program and cannot be shared (" +
               strReason +
               L").\n\nThat program may be using the ports right now, so Velkor will close without "
               L"touching them.";
    }

    std::string LoadResourceString(UINT nId)
    {
        char szText[256];
        int nLen = ::LoadStringA(AfxGetResourceHandle(), nId, szText, static_cast<int>(std::size(szText)));
        return std::string(szText, nLen > 0 ? nLen : 0);
    }
}

struct CVelkorDlg::ModeButton
{
    CSkinButton CVelkorDlg::*pButton;
    const wchar_t* pszInactiveIcon;
    const wchar_t* pszActiveIcon;   // the hidden Static button has none
};

// The buttons are named by their members, so a change cannot point at another
// button's pictures: each member's pictures are found in MODE_BUTTONS.
struct CVelkorDlg::ModeChange
{
    LedMode mode;
    CSkinButton CVelkorDlg::*pActive;
    CSkinButton CVelkorDlg::*inactive[5];   // re-imaged in this order
};

// In the order the buttons get their first images.
const CVelkorDlg::ModeButton CVelkorDlg::MODE_BUTTONS[] = {
    {&CVelkorDlg::m_btnOn, L"01_On_0.ico", L"01_On_1.ico"},
    {&CVelkorDlg::m_btnStatic, L"02_Static_0.ico", nullptr},
    {&CVelkorDlg::m_btnBreath, L"03_Breath_0.ico", L"03_Breath_1.ico"},
    {&CVelkorDlg::m_btnColorLoop, L"04_ColorLoop_0.ico", L"04_ColorLoop_1.ico"},
    {&CVelkorDlg::m_btnRainBow, L"05_RainBow_0.ico", L"05_RainBow_1.ico"},
    {&CVelkorDlg::m_btnAuto, L"06_Auto_0.ico", L"06_Auto_1.ico"},
};

const CVelkorDlg::ModeChange CVelkorDlg::MODE_CHANGES[] = {
    {LedMode::On,
     &CVelkorDlg::m_btnOn,
     {&CVelkorDlg::m_btnStatic, &CVelkorDlg::m_btnBreath, &CVelkorDlg::m_btnColorLoop, &CVelkorDlg::m_btnRainBow,
      &CVelkorDlg::m_btnAuto}},
    {LedMode::RainBow,
     &CVelkorDlg::m_btnRainBow,
     {&CVelkorDlg::m_btnOn, &CVelkorDlg::m_btnStatic, &CVelkorDlg::m_btnBreath, &CVelkorDlg::m_btnColorLoop,
      &CVelkorDlg::m_btnAuto}},
    {LedMode::Breath,
     &CVelkorDlg::m_btnBreath,
     {&CVelkorDlg::m_btnStatic, &CVelkorDlg::m_btnColorLoop, &CVelkorDlg::m_btnRainBow, &CVelkorDlg::m_btnAuto,
      &CVelkorDlg::m_btnOn}},
    {LedMode::ColorLoop,
     &CVelkorDlg::m_btnColorLoop,
     {&CVelkorDlg::m_btnOn, &CVelkorDlg::m_btnStatic, &CVelkorDlg::m_btnBreath, &CVelkorDlg::m_btnRainBow,
      &CVelkorDlg::m_btnAuto}},
    {LedMode::Auto,
     &CVelkorDlg::m_btnAuto,
     {&CVelkorDlg::m_btnOn, &CVelkorDlg::m_btnStatic, &CVelkorDlg::m_btnBreath, &CVelkorDlg::m_btnColorLoop,
      &CVelkorDlg::m_btnRainBow}},
};

const CVelkorDlg::ModeButton& CVelkorDlg::ModeButtonOf(CSkinButton CVelkorDlg::*pButton)
{
    const ModeButton* pEntry =
        std::find_if(std::begin(MODE_BUTTONS), std::end(MODE_BUTTONS), [pButton](const ModeButton& button) {
            return button.pButton == pButton;
        });
    return *pEntry;   // every mode button has its entry
}

CVelkorDlg::CVelkorDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent),
      m_ec(PROBE_WAIT_LIMIT_MS, POLL_WAIT_LIMIT_MS),
      m_trayIcon(*this),
      m_powerWatch(*this, m_ec, m_trayIcon),
      m_wLangId(0),
      m_nPicturesReadAhead(0)
{
    // A shared icon from the resources: the system frees it.
    m_hIcon = ::LoadIconA(
        AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON), MAKEINTRESOURCEA(IDR_MAINFRAME)
    );
    EndUnlessEcReady();
}

// The window has nothing to show without the EC, so the process ends before
// any window is made: quietly when io.dll or its driver is missing
// (velkorctl status says why), with a word when another program keeps the
// ports or their mutex, which the user can do something about.
void CVelkorDlg::EndUnlessEcReady()
{
    const WORD wLangId = GetSystemDefaultLangID();
    switch (m_ec.GetState())
    {
    case EcAccess::State::Ready: return;
    case EcAccess::State::PortsBusy: AfxMessageBoxW(PORTS_BUSY_AT_START.In(wLangId), MB_OK | MB_ICONWARNING); break;
    case EcAccess::State::PortMutexUnavailable:
        AfxMessageBoxW(PortMutexUnavailableText(m_ec.PortMutexError(), wLangId).c_str(), MB_OK | MB_ICONWARNING);
        break;
    default: break;
    }
    ::ExitProcess(0);
}

void CVelkorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MIN, m_btnMin);
    DDX_Control(pDX, IDC_EXIT, m_btnExit);
    DDX_Control(pDX, IDC_ON, m_btnOn);
    DDX_Control(pDX, IDC_STATIC_BTN, m_btnStatic);
    DDX_Control(pDX, IDC_BREATH, m_btnBreath);
    DDX_Control(pDX, IDC_COLORLOOP, m_btnColorLoop);
    DDX_Control(pDX, IDC_RAINBOW, m_btnRainBow);
    DDX_Control(pDX, IDC_AUTO, m_btnAuto);
}

const MessageMap* CVelkorDlg::GetMessageMap() const
{
    static const MessageMap map = MessageMap::Of<CVelkorDlg>(
        CDialog::GetThisMessageMap(),
        {
            OnWmSysCommand(&CVelkorDlg::OnSysCommand),
            OnWmPaint(&CVelkorDlg::OnPaint),
            OnWmQueryDragIcon(&CVelkorDlg::OnQueryDragIcon),
            OnWmCtlColor(&CVelkorDlg::OnCtlColor),
            OnBnClicked(IDC_ON, &CVelkorDlg::OnBnClickedOn),
            OnBnClicked(IDC_STATIC_BTN, &CVelkorDlg::OnBnClickedStatic),
            OnBnClicked(IDC_BREATH, &CVelkorDlg::OnBnClickedBreath),
            OnBnClicked(IDC_COLORLOOP, &CVelkorDlg::OnBnClickedColorLoop),
            OnBnClicked(IDC_RAINBOW, &CVelkorDlg::OnBnClickedRainBow),
            OnBnClicked(IDCANCEL, &CVelkorDlg::OnBnClickedCancel),
            OnBnClicked(IDOK, &CVelkorDlg::OnBnClickedExit),
            OnWmLButtonDown(&CVelkorDlg::OnLButtonDown),
            OnBnClicked(IDC_EXIT, &CVelkorDlg::OnBnClickedExit),
            OnWmTimer(&CVelkorDlg::OnTimer),
            OnBnClicked(IDC_MIN, &CVelkorDlg::OnBnClickedMin),
            OnMessage(WM_TRAYNOTIFY, &CVelkorDlg::OnTrayNotify),
            OnMessage(CTrayIcon::TaskbarCreatedMessage(), &CVelkorDlg::OnTaskbarCreated),
            OnBnClicked(IDC_AUTO, &CVelkorDlg::OnBnClickedAuto),
            OnMessage(SingleInstance::ActivateMessage(), &CVelkorDlg::OnActivateInstance),
            OnMessage(WM_KICKIDLE, &CVelkorDlg::OnKickIdle),
            OnMessage(WM_QUERYENDSESSION, &CVelkorDlg::OnQueryEndSession),
            OnMessage(WM_ENDSESSION, &CVelkorDlg::OnEndSession),
        }
    );
    return &map;
}

BOOL CVelkorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();   // binds the eight buttons
    AddAboutItem();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText(WINDOW_TEXT);
    LoadSkin();
    m_powerWatch.Start(m_strSkinDir);   // timer 1, the power-level poll
    if (m_bStartInTray)
        m_trayIcon.AddTrayIcon();
    return TRUE;
}

// Shown at the end of the start unless it went away into the tray.
bool CVelkorDlg::IsShownAtStart() const
{
    return !m_trayIcon.IsInTray();
}

void CVelkorDlg::AddAboutItem()
{
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == nullptr)
        return;
    std::string strAbout = LoadResourceString(IDS_ABOUTBOX);
    if (strAbout.empty())
        return;
    pSysMenu->AppendMenu(MF_SEPARATOR);
    pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout.c_str());
}

// The skin folder and background are chosen once per start: a later change of
// language or background shows at the next start. The buttons' pictures are
// looked at again at every mode change.
void CVelkorDlg::LoadSkin()
{
    m_strExeDir = FilePath::FolderOf(FilePath::ExecutablePath());
    m_wLangId = GetSystemDefaultLangID();
    m_strSkinDir = SkinDirectory::ForLanguage(m_strExeDir, m_wLangId);
    m_skinIcons.SetFolder(m_strSkinDir);
    MakeBackgroundBrush();

    // Every mode button starts inactive: the program never learns the EC's mode.
    for (const ModeButton& button : MODE_BUTTONS)
        SetButtonIcon(this->*button.pButton, button.pszInactiveIcon);
    SetButtonIcon(m_btnExit, L"06_Exit.ico");
    SetButtonIcon(m_btnMin, L"07_Min.ico");
}

// Loaded as a DIB section, the picture and the brush's copy of it keep the
// depth the file has (24 bits): a quarter less memory, held for the whole run,
// than a copy in the screen's 32-bit format.
void CVelkorDlg::MakeBackgroundBrush()
{
    CBitmap bmpBackground;
    bmpBackground.Attach(::LoadImageW(
        nullptr, FilePath::InFolder(m_strSkinDir, BACKGROUND_FILE).c_str(), IMAGE_BITMAP, 0, 0,
        LR_LOADFROMFILE | LR_CREATEDIBSECTION
    ));
    if (bmpBackground.GetSafeHandle() == nullptr)
    {
        MessageBoxW(BACKGROUND_FAILED_TEXT, NOTICE_CAPTION, MB_OK);
        bmpBackground.Attach(::LoadImageA(
            AfxFindResourceHandle(MAKEINTRESOURCEA(IDB_DEFAULT_BG), RT_BITMAP), MAKEINTRESOURCEA(IDB_DEFAULT_BG),
            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION
        ));
    }
    // The brush keeps its own copy of the pattern; the bitmap goes with this scope.
    m_brushBg.CreatePatternBrush(&bmpBackground);
}

// A missing or unreadable file gives the button no image, silently. The
// picture is the file as it is now: one that changed since it was last read
// is read again.
void CVelkorDlg::SetButtonIcon(CSkinButton& button, const wchar_t* pszIconFile)
{
    button.SetIcon(m_skinIcons.Icon(pszIconFile));
}

// The EC writes enclose the image changes: the clear byte goes out before
// the first picture is handed over, the mode byte after the last, all in one
// turn on the ports; the pictures are looked up before it. When another
// program keeps the ports, nothing is written, the buttons keep their
// pictures and the user is told; so is the user when a picture could not be
// loaded for a reason other than a missing or damaged file. Clicking the
// active mode again repeats all of it.
void CVelkorDlg::SelectMode(LedMode mode)
{
    const ModeChange* pChange =
        std::find_if(std::begin(MODE_CHANGES), std::end(MODE_CHANGES), [mode](const ModeChange& change) {
            return change.mode == mode;
        });
    if (pChange == std::end(MODE_CHANGES))
        return;
    const auto picture = [this](CSkinButton CVelkorDlg::*pButton, bool bActive) {
        const ModeButton& button = ModeButtonOf(pButton);
        return ModeClick::ButtonPicture{&(this->*pButton), bActive ? button.pszActiveIcon : button.pszInactiveIcon};
    };
    const ModeClick::ButtonPicture pictures[ModeClick::BUTTON_COUNT] = {
        picture(pChange->pActive, true),      picture(pChange->inactive[0], false),
        picture(pChange->inactive[1], false), picture(pChange->inactive[2], false),
        picture(pChange->inactive[3], false), picture(pChange->inactive[4], false)};
    const auto lookUp = [this](const wchar_t* pszFile) { return m_skinIcons.Icon(pszFile); };
    switch (ModeClick::Select(m_ec, mode, MODE_CHANGE_WAIT_LIMIT_MS, lookUp, pictures))
    {
    case ModeClick::Outcome::Done: break;
    case ModeClick::Outcome::PictureFailed:
        MessageBoxW(PICTURE_FAILED.In(m_wLangId), nullptr, MB_OK | MB_ICONWARNING);
        break;
    case ModeClick::Outcome::PortsBusy:
        MessageBoxW(PORTS_BUSY_FOR_MODE.In(m_wLangId), nullptr, MB_OK | MB_ICONWARNING);
        break;
    }
}

void CVelkorDlg::OnBnClickedOn()
{
    SelectMode(LedMode::On);
}

void CVelkorDlg::OnBnClickedRainBow()
{
    SelectMode(LedMode::RainBow);
}

void CVelkorDlg::OnBnClickedBreath()
{
    SelectMode(LedMode::Breath);
}

void CVelkorDlg::OnBnClickedColorLoop()
{
    SelectMode(LedMode::ColorLoop);
}

void CVelkorDlg::OnBnClickedAuto()
{
    SelectMode(LedMode::Auto);
}

// Cancel, and with it Close from the system menu, leaves the window open.
void CVelkorDlg::OnBnClickedCancel() {}

// Ends the process at once: no window is closed first and the keyboard keeps
// its mode. The OK command (an installer's request) may come while the window
// is in the tray: the icon goes too.
void CVelkorDlg::OnBnClickedExit()
{
    m_trayIcon.EndProgram();
}

BOOL CVelkorDlg::PreTranslateMessage(MSG* pMsg)
{
    bool bSwallowed = (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN)) ||
                      (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_F4);
    return bSwallowed ? TRUE : CDialog::PreTranslateMessage(pMsg);
}

void CVelkorDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    }
    else
    {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CVelkorDlg::OnPaint()
{
    if (!IsIconic())
    {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    dc.DrawIcon((rect.Width() - cxIcon + 1) / 2, (rect.Height() - cyIcon + 1) / 2, m_hIcon);
}

HCURSOR CVelkorDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

// The dialog's own background is the skin's pattern brush, tiled from the
// client area's top-left corner; controls keep the default answer.
HBRUSH CVelkorDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hbrDefault = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd != nullptr && pWnd->GetSafeHwnd() == m_hWnd)
        return static_cast<HBRUSH>(m_brushBg.GetSafeHandle());
    return hbrDefault;
}

// The window has no caption: pressing on its background drags it as if it had.
void CVelkorDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CDialog::OnLButtonDown(nFlags, point);
}

// ---- Tray icon and power watch

void CVelkorDlg::OnBnClickedMin()
{
    m_trayIcon.AddTrayIcon();
}

void CVelkorDlg::OnBnClickedStatic()
{
    m_powerWatch.OnBnClickedStatic();
}

void CVelkorDlg::OnTimer(UINT_PTR nIDEvent)
{
    m_powerWatch.OnTimer(nIDEvent);
    CDialog::OnTimer(nIDEvent);
}

LRESULT CVelkorDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    return m_trayIcon.OnTrayNotify(wParam, lParam, m_wLangId);
}

// A restarted shell has lost the tray icon.
LRESULT CVelkorDlg::OnTaskbarCreated(WPARAM wParam, LPARAM lParam)
{
    return m_trayIcon.OnTaskbarCreated(wParam, lParam);
}

// Once the window is painted and nothing waits, the active pictures, which no
// button shows at start, are read ahead one per idle turn: then no click waits
// for a picture to be decoded, and the program holds after start-up what it
// holds after any number of clicks.
LRESULT CVelkorDlg::OnKickIdle(WPARAM, LPARAM)
{
    while (m_nPicturesReadAhead < std::size(MODE_BUTTONS))
    {
        const wchar_t* pszActiveIcon = MODE_BUTTONS[m_nPicturesReadAhead++].pszActiveIcon;
        if (pszActiveIcon != nullptr)
        {
            m_skinIcons.Icon(pszActiveIcon);
            return TRUE;
        }
    }
    return FALSE;
}

// A second start of the program asks for the window: back out of the tray, in front.
LRESULT CVelkorDlg::OnActivateInstance(WPARAM, LPARAM)
{
    m_trayIcon.Restore();
    return 0;
}

// ---- End of session

// Windows asks before the user signs out or the system shuts down, and an
// installer's restart manager asks the same (ENDSESSION_CLOSEAPP) before it
// replaces files in use: Velkor has nothing to save and agrees.
LRESULT CVelkorDlg::OnQueryEndSession(WPARAM, LPARAM)
{
    return TRUE;
}

// Once the end is decided Velkor ends as Exit ends it, without a word. Like
// every message it comes between two EC accesses, never inside one. An end
// called off (wParam FALSE) changes nothing.
LRESULT CVelkorDlg::OnEndSession(WPARAM wParam, LPARAM)
{
    if (wParam)
        m_trayIcon.EndProgram();
    return 0;
}
