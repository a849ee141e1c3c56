#include "notify/DlgPwrNotify.h"

#include <utility>

#include "framework/Afx.h"
#include "framework/Bitmap.h"
#include "framework/DataExchange.h"
#include "framework/FilePath.h"
#include "res/resource.h"

namespace
{
    constexpr UINT_PTR PLACE_TIMER_ID = 1;   // once, right after creation: place and make topmost
    constexpr UINT PLACE_DELAY_MS = 10;
    constexpr UINT_PTR REFRESH_TIMER_ID = 2;   // while shown: text and picture follow m_nLevel
    constexpr UINT REFRESH_PERIOD_MS = 100;
    constexpr UINT_PTR FIRST_SHOWING_TIMER_ID = 3;   // once: the first showing ends by itself
    constexpr UINT FIRST_SHOWING_MS = 1000;
}

CDlgPwrNotify::CDlgPwrNotify(std::wstring strSkinDir)
    : m_strSkinDir(std::move(strSkinDir))
{}

const MessageMap* CDlgPwrNotify::GetMessageMap() const
{
    static const MessageMap map = MessageMap::Of<CDlgPwrNotify>(
        CDialog::GetThisMessageMap(),
        {
            OnBnClicked(IDC_TEST, &CDlgPwrNotify::OnBnClickedTest),
            OnWmTimer(&CDlgPwrNotify::OnTimer),
            OnWmShowWindow(&CDlgPwrNotify::OnShowWindow),
            OnWmCtlColor(&CDlgPwrNotify::OnCtlColor),
        }
    );
    return &map;
}

void CDlgPwrNotify::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PWR_TEXT, m_strPwrText);
}

// Opened through the same path rule as every skin file, so a deep install or a
// folder named in any script finds its pictures.
bool CDlgPwrNotify::LoadPictureBrush(const wchar_t* pszName, CBrush& brush, BITMAP* pInfo)
{
    CBitmap bmpLoad;
    const std::wstring strPath = FilePath::InFolder(m_strSkinDir, pszName);
    if (!bmpLoad.Attach(::LoadImageW(AfxGetInstanceHandle(), strPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)))
        return false;
    if (pInfo != nullptr)
        bmpLoad.GetBitmap(pInfo);
    // The brush keeps its own copy of the pattern; the bitmap goes with bmpLoad.
    brush.CreatePatternBrush(&bmpLoad);
    return true;
}

BOOL CDlgPwrNotify::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (!LoadPictureBrush(L"Perf_P1_Blue.bmp", m_brP1Blue, &m_bmInfo))
    {
        // "Importing the background picture failed!" under the caption "Notice",
        // then the file's full path under the program's name.
        MessageBoxW(L"\u5bfc\u5165\u80cc\u666f\u56fe\u5931\u8d25!", L"\u63d0\u793a", MB_OK);
        MessageBoxW((m_strSkinDir + L"\\Perf_P1_Blue.bmp").c_str(), nullptr, MB_OK);
    }
    // Only the level-1 picture is reported: the others just stay without a picture.
    LoadPictureBrush(L"Perf_P2_Green.bmp", m_brP2Green, nullptr);
    LoadPictureBrush(L"Perf_P3_Red.bmp", m_brP3Red, nullptr);

    SetTimer(PLACE_TIMER_ID, PLACE_DELAY_MS);
    return FALSE;   // no control takes the focus
}

void CDlgPwrNotify::PlaceOnDesktop()
{
    CRect rcDesktop;
    ::GetWindowRect(::GetDesktopWindow(), &rcDesktop);

    // Without a level-1 picture nothing defines the size: keep the template's.
    CSize size(m_bmInfo.bmWidth, m_bmInfo.bmHeight);
    if (size.cx <= 0 || size.cy <= 0)
    {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        size = rcWindow.Size();
    }

    // Integer division truncates toward zero, also for a picture wider than the screen.
    const int x = (rcDesktop.Width() - size.cx) / 2;
    int y = (rcDesktop.Height() - size.cy) / 2;
    if (m_bLowered)
        y += size.cy / 2;
    MoveWindow(x, y, size.cx, size.cy, TRUE);
}

void CDlgPwrNotify::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case PLACE_TIMER_ID:
        PlaceOnDesktop();
        // Topmost, but the user's window keeps the keyboard focus.
        SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        KillTimer(PLACE_TIMER_ID);
        SetTimer(FIRST_SHOWING_TIMER_ID, FIRST_SHOWING_MS);
        break;
    case REFRESH_TIMER_ID: Refresh(); break;
    case FIRST_SHOWING_TIMER_ID:
        KillTimer(FIRST_SHOWING_TIMER_ID);
        EndDialog(1);   // modeless: hides the window, which stays for the next showing
        break;
    default: break;
    }
    CDialog::OnTimer(nIDEvent);
}

// The popup lives hidden for weeks between showings: refreshing it then would
// wake the program ten times a second for nothing. Every showing follows a new
// m_nLevel, so it refreshes at once and then every 100 ms until it hides.
void CDlgPwrNotify::OnShowWindow(BOOL bShow, UINT)
{
    Default();
    if (bShow)
    {
        Refresh();
        SetTimer(REFRESH_TIMER_ID, REFRESH_PERIOD_MS);
    }
    else
        KillTimer(REFRESH_TIMER_ID);
}

void CDlgPwrNotify::Refresh()
{
    m_strPwrText = "PowerLevel 0x30= " + std::to_string(m_nLevel);
    Invalidate(TRUE);
    UpdateData(FALSE);
}

HBRUSH CDlgPwrNotify::LevelBrush() const
{
    switch (m_nLevel)
    {
    case 1: return m_brP1Blue;
    case 2: return m_brP2Green;
    default: return m_brP3Red;
    }
}

HBRUSH CDlgPwrNotify::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const HBRUSH hbrDefault = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd == nullptr || pWnd->GetSafeHwnd() != m_hWnd)
        return hbrDefault;
    // The pattern brush paints the picture from the top-left corner. A level
    // whose picture could not be loaded gets the plain dialog background.
    const HBRUSH hbrLevel = LevelBrush();
    return hbrLevel != nullptr ? hbrLevel : hbrDefault;
}

void CDlgPwrNotify::OnBnClickedTest()
{
    PlaceOnDesktop();
}
