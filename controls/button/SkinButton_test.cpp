#include "controls/button/SkinButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/button/SkinButtonPainter.h"
#include "framework/Afx.h"
#include "tests/support/GdiCount.h"
#include "tests/support/button/ButtonTestResources.h"
#include "tests/support/framework/Canvas.h"

namespace
{
const UINT ID_BUTTON = 100;
const UINT ID_OTHER = 101;
const COLORREF RED = RGB(220, 0, 0);

COLORREF Sys(int nIndex) { return ::GetSysColor(nIndex); }

// What the drop-down tests saw, in order.
std::vector<std::string> g_events;

// A popup window that hosts the buttons, counts the clicks it hears, notes
// the drop-down menu's command and paints itself in one colour.
class CTestParent : public CWnd
{
public:
    int m_nClicks = 0;
    COLORREF m_crBack = RGB(0, 128, 0);

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap map = MessageMap::Of<CTestParent>(CWnd::GetThisMessageMap(), {
            OnBnClicked(ID_BUTTON, &CTestParent::OnClicked),
            OnBnClicked(ID_TEST_SECOND, &CTestParent::OnCommandSecond),
            OnMessage(WM_ERASEBKGND, &CTestParent::OnEraseBkgnd),
            OnMessage(WM_APP, &CTestParent::OnDone),
        });
        return &map;
    }

protected:
    void OnClicked() { ++m_nClicks; }
    void OnCommandSecond()
    {
        const HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
        g_events.push_back(hMenuWnd != nullptr && ::IsWindowVisible(hMenuWnd) ? "command under the menu" : "command");
    }
    LRESULT OnDone(WPARAM, LPARAM)
    {
        g_events.push_back("done");
        return 0;
    }
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM)
    {
        CRect rc;
        GetClientRect(&rc);
        CDC::FromHandle(reinterpret_cast<HDC>(wParam))->FillSolidRect(&rc, m_crBack);
        return TRUE;
    }
};

// An icon whose pixel (x, y) is colorAt(x, y): opaque, or with the alpha
// channel alphaAt(x, y) when that is given.
HICON MakeIcon(int cx, int cy, const std::function<COLORREF(int, int)>& colorAt,
               const std::function<BYTE(int, int)>& alphaAt = {})
{
    std::vector<DWORD> colorBits(cx * cy);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const COLORREF cr = colorAt(x, y);
            const DWORD dwAlpha = alphaAt ? alphaAt(x, y) : 0;
            colorBits[y * cx + x] = (dwAlpha << 24) | (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr);
        }
    const std::vector<BYTE> maskBits((cx + 15) / 16 * 2 * cy, 0);
    HBITMAP hColor = ::CreateBitmap(cx, cy, 1, 32, colorBits.data());
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, maskBits.data());
    ICONINFO info{TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

HICON SolidIcon(int cx, int cy, COLORREF cr) { return MakeIcon(cx, cy, [cr](int, int) { return cr; }); }

class SkinButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 250), nullptr, 0));
    }

    // A 93 x 60 button control of the given style, taken over by button; the
    // second button (ID_OTHER) stands beside the first.
    HWND Attach(CSkinButton& button, DWORD dwStyle = BS_PUSHBUTTON, UINT nId = ID_BUTTON)
    {
        HWND hWnd = ::CreateWindowExA(0, "BUTTON", "On", WS_CHILD | WS_VISIBLE | WS_TABSTOP | dwStyle,
                                      nId == ID_BUTTON ? 10 : 150, 10, 93, 60, m_parent.m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), nullptr, nullptr);
        EXPECT_TRUE(button.SubclassWindow(hWnd));
        return hWnd;
    }

    // Paints the button into a canvas of its size through its parent's WM_DRAWITEM.
    std::unique_ptr<Canvas> Render(CSkinButton& button, UINT nState = 0)
    {
        CRect rc;
        button.GetClientRect(&rc);
        auto canvas = std::make_unique<Canvas>(rc.Width(), rc.Height());
        DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(button.GetDlgCtrlID()), 0, ODA_DRAWENTIRE, nState,
                           button.m_hWnd, canvas->Dc(), rc, 0};
        m_parent.SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return canvas;
    }

    // The pointer moves onto the button (nFlags: the mouse keys held).
    static void MoveOnto(CSkinButton& button, UINT nFlags = 0)
    {
        CPoint pt(20, 20);
        button.ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        button.SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(20, 20));
    }

    static bool NeedsPaint(const CSkinButton& button) { return ::GetUpdateRect(button.m_hWnd, nullptr, FALSE) != FALSE; }

    static void Click(CSkinButton& button)
    {
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    CTestParent m_parent;
    CSkinButton m_button;
};

TEST_F(SkinButtonTest, IconIsCentredShiftsWhenPressedAndLosesItsColourWhenDisabled)
{
    Attach(m_button);
    ASSERT_EQ(0, m_button.SetIcons(SolidIcon(48, 48, RED), nullptr));
    EXPECT_EQ(CRect(22, 6, 70, 54), Render(m_button)->Bounds(RED));
    EXPECT_EQ(CRect(23, 7, 71, 55), Render(m_button, ODS_SELECTED)->Bounds(RED));
    EXPECT_TRUE(Render(m_button, ODS_DISABLED)->Bounds(RED).IsRectEmpty());
}

TEST_F(SkinButtonTest, FlatBorderShowsOnlyWhileHotOrPressedAndHoverEndsWithEachWayOut)
{
    Attach(m_button);
    auto idle = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(92, 59));
    auto pressed = Render(m_button, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), pressed->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), pressed->At(92, 59));

    m_button.UpdateWindow();
    MoveOnto(m_button, MK_LBUTTON);   // a press dragged in from elsewhere does not light it
    EXPECT_FALSE(NeedsPaint(m_button));
    MoveOnto(m_button);
    auto hot = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), hot->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), hot->At(92, 59));
    m_button.UpdateWindow();
    MoveOnto(m_button);   // already hot: no second repaint
    EXPECT_FALSE(NeedsPaint(m_button));

    const std::pair<UINT, WPARAM> endings[] = {
        {WM_MOUSELEAVE, 0}, {WM_KILLFOCUS, 0}, {WM_CANCELMODE, 0}, {WM_ACTIVATE, WA_INACTIVE}, {WM_ENABLE, FALSE}};
    for (const auto& [message, wParam] : endings) {
        MoveOnto(m_button);
        m_button.SendMessage(message, wParam);
        EXPECT_EQ(Sys(COLOR_BTNFACE), Render(m_button)->At(0, 0)) << "message " << message;
    }
}

TEST_F(SkinButtonTest, ThreeDStyleDrawsEdgesAndTheBlackFrameOfFocusOrDefaultAndStaysOwnerDrawn)
{
    Attach(m_button);
    m_button.SetFlat(FALSE);
    const auto focusDots = [](const Canvas& canvas) {
        int nDots = 0;
        for (int x = 5; x < 88; ++x)
            nDots += canvas.At(x, 4) != Sys(COLOR_BTNFACE);
        return nDots;
    };
    auto plain = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), plain->At(0, 0));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), plain->At(92, 59));
    EXPECT_EQ(0, focusDots(*plain));
    auto focused = Render(m_button, ODS_FOCUS);
    EXPECT_EQ(RGB(0, 0, 0), focused->At(0, 0));
    EXPECT_GT(focusDots(*focused), 20);

    // The default button wears the black frame without the focus, until
    // BM_SETSTYLE takes the default state away.
    CSkinButton defaultButton;
    HWND hDefault = Attach(defaultButton, BS_DEFPUSHBUTTON, ID_OTHER);
    defaultButton.SetFlat(FALSE);
    EXPECT_TRUE(defaultButton.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    auto unfocusedDefault = Render(defaultButton);
    EXPECT_EQ(RGB(0, 0, 0), unfocusedDefault->At(0, 0));
    EXPECT_EQ(0, focusDots(*unfocusedDefault));
    defaultButton.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_TRUE(defaultButton.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Render(defaultButton)->At(0, 0));
    EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongA(hDefault, GWL_STYLE) & 0x1F);
}

TEST_F(SkinButtonTest, CheckBoxModeTogglesOnEachClickAndShowsCheckedSunkenWithoutShift)
{
    Attach(m_button, BS_AUTOCHECKBOX);
    m_button.SetIcons(SolidIcon(48, 48, RED), nullptr);
    m_button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(1, m_button.SendMessage(BM_GETCHECK));
    Click(m_button);
    EXPECT_EQ(0, m_button.SendMessage(BM_GETCHECK));
    Click(m_button);
    EXPECT_EQ(1, m_button.SendMessage(BM_GETCHECK));
    EXPECT_EQ(2, m_parent.m_nClicks);
    auto checked = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), checked->At(0, 0));
    EXPECT_EQ(CRect(22, 6, 70, 54), checked->Bounds(RED));
}

TEST_F(SkinButtonTest, DisablingHandsTheFocusToTheNextControl)
{
    Attach(m_button);
    HWND hNext = ::CreateWindowExA(0, "BUTTON", "next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 120, 10, 60, 30,
                                   m_parent.m_hWnd, nullptr, nullptr, nullptr);
    m_button.SetFocus();
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(hNext, ::GetFocus());
}

TEST_F(SkinButtonTest, ReplacedIconsAndCursorsAreDestroyedAndAnIconLeftWithTheCallerIsNot)
{
    Attach(m_button);
    HICON hA = SolidIcon(16, 16, RED);
    HICON hB = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(hA, nullptr));
    EXPECT_EQ(0, m_button.SetIcons(hB, nullptr));
    EXPECT_FALSE(IconAlive(hA));
    EXPECT_TRUE(IconAlive(hB));

    HICON hIdle = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(nullptr, hIdle));   // clears the images; hIdle stays the caller's
    EXPECT_FALSE(IconAlive(hB));
    EXPECT_TRUE(IconAlive(hIdle));
    EXPECT_TRUE(Render(m_button)->Bounds(RED).IsRectEmpty());
    // An unreadable hot icon fails, and the idle icon handed over with it is not leaked.
    HICON hGone = SolidIcon(16, 16, RED);
    ::DestroyIcon(hGone);
    EXPECT_EQ(1, m_button.SetIcons(hGone, hIdle));
    EXPECT_FALSE(IconAlive(hIdle));

    HCURSOR hFirst = static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_HAND)));
    HCURSOR hSecond = static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_CROSS)));
    m_button.SetHoverCursor(hFirst);
    m_button.SetHoverCursor(hSecond);
    EXPECT_FALSE(IconAlive(hFirst));
    m_button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_button.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(hSecond, ::GetCursor());
}

TEST_F(SkinButtonTest, ManyIconChangesAndTheButtonsEndLeaveNoGdiObjectsBehind)
{
    const auto gdiObjects = [] {
        AfxOnIdle();   // drops the borrowed wrappers
        return GdiCount::Of(::GetCurrentProcess()).value_or(0);
    };
    HCURSOR hShared = ::LoadCursor(nullptr, IDC_HAND);   // loaded once for the whole process
    const unsigned nBefore = gdiObjects();
    ASSERT_GT(nBefore, 0u);
    HCURSOR hCursor = static_cast<HCURSOR>(::CopyIcon(hShared));
    HWND hWnd = nullptr;
    {
        CSkinButton button;
        hWnd = Attach(button);
        button.SetHoverCursor(hCursor);
        button.SetSeeThrough(TRUE);
        for (int i = 0; i < 500; ++i) {
            // Every tenth change also builds a grey idle copy (icons are slow under Wine).
            ASSERT_EQ(0, button.SetIcons(SolidIcon(4, 4, RED), i % 10 ? nullptr : CSkinButton::AUTO_GRAY_ICON));
            if (i % 100 == 0)
                Render(button, i % 200 ? ODS_SELECTED : ODS_DISABLED);
        }
    }
    ::DestroyWindow(hWnd);
    EXPECT_FALSE(IconAlive(hCursor));
    EXPECT_EQ(nBefore, gdiObjects());
}

TEST_F(SkinButtonTest, GreyIdleCopyWeighsGreenRedBlueAndKeepsTheAlphaChannel)
{
    Attach(m_button);
    const COLORREF columns[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(200, 100, 50), RGB(255, 255, 255)};
    m_button.SetIcons(MakeIcon(15, 10, [&](int x, int) { return columns[x % 5]; }), CSkinButton::AUTO_GRAY_ICON);
    const int x0 = (93 - 15) / 2;
    auto idle = Render(m_button);
    const BYTE greys[] = {76, 149, 29, 124, 255};   // white stays white: the weights sum to exactly 1
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(RGB(greys[i], greys[i], greys[i]), idle->At(x0 + i, 30)) << "column " << i;
    EXPECT_EQ(RGB(76, 76, 76), idle->At(x0 + 10, 30));   // every column, also the last ones
    MoveOnto(m_button);   // hot, the icon shows in colour
    EXPECT_EQ(RGB(255, 0, 0), Render(m_button)->At(x0, 30));
    m_button.SendMessage(WM_MOUSELEAVE);

    // An opaque black corner, one see-through pixel beside it, red elsewhere.
    m_button.SetIcons(MakeIcon(16, 16, [](int x, int y) { return x + y == 0 ? RGB(0, 0, 0) : RED; },
                               [](int x, int y) { return BYTE(x == 1 && y == 0 ? 0 : 255); }),
                      CSkinButton::AUTO_GRAY_ICON);
    auto alpha = Render(m_button);
    EXPECT_EQ(RGB(0, 0, 0), alpha->At(38, 22));
    EXPECT_EQ(Sys(COLOR_BTNFACE), alpha->At(39, 22));
    EXPECT_EQ(RGB(65, 65, 65), alpha->At(40, 22));
}

TEST_F(SkinButtonTest, SeeThroughShowsTheParentAsFirstPaintedUntilColoursChange)
{
    const auto redrawParent = [this] {
        ::RedrawWindow(m_parent.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    };
    redrawParent();
    Attach(m_button);
    m_button.SetSeeThrough(TRUE);
    EXPECT_EQ(RGB(0, 128, 0), Render(m_button)->At(40, 30));
    m_parent.m_crBack = RGB(0, 0, 160);
    redrawParent();
    EXPECT_EQ(RGB(0, 128, 0), Render(m_button)->At(40, 30));
    m_button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(RGB(0, 0, 160), Render(m_button)->At(40, 30));
}

TEST_F(SkinButtonTest, CaptionStandsBesideTheIconWithoutOverlapAndIsEmbossedWhenDisabled)
{
    Attach(m_button);
    m_button.SetIcons(SolidIcon(16, 16, RED), nullptr);
    EXPECT_TRUE(Render(m_button)->Bounds(Sys(COLOR_BTNTEXT)).IsRectEmpty());
    m_button.SetShowCaption(TRUE);
    const std::pair<CSkinButton::ImagePlacement, CRect> cases[] = {
        {CSkinButton::ImageBeforeText, CRect(3, 22, 19, 38)},
        {CSkinButton::ImageAboveText, CRect(38, 3, 54, 19)},
        {CSkinButton::ImageAfterText, CRect(74, 22, 90, 38)},
    };
    for (const auto& [placement, rcIcon] : cases) {
        m_button.SetImagePlacement(placement);
        auto canvas = Render(m_button);
        EXPECT_EQ(rcIcon, canvas->Bounds(RED)) << "placement " << int(placement);
        const CRect rcText = canvas->Bounds(Sys(COLOR_BTNTEXT));
        CRect rcOverlap;
        EXPECT_FALSE(rcText.IsRectEmpty() || rcOverlap.IntersectRect(&rcIcon, &rcText)) << "placement " << int(placement);
    }

    m_button.SetIcons(nullptr, nullptr);
    auto disabled = Render(m_button, ODS_DISABLED);
    EXPECT_TRUE(disabled->Bounds(Sys(COLOR_BTNTEXT)).IsRectEmpty());
    const CRect rcShadow = disabled->Bounds(Sys(COLOR_BTNSHADOW));
    const CRect rcHighlight = disabled->Bounds(Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(rcShadow.right + 1, rcHighlight.right);
    EXPECT_EQ(rcShadow.bottom + 1, rcHighlight.bottom);
}

TEST_F(SkinButtonTest, BitmapsShowThroughTheirMasksAndDimWhenDisabled)
{
    Attach(m_button);
    // A 20 x 20 red square whose left half is masked out (black in the image,
    // white in the mask; mask rows are padded to 32 bits).
    std::vector<DWORD> imageBits(20 * 20, 0xDC0000);
    std::vector<BYTE> maskBits;
    for (int y = 0; y < 20; ++y) {
        std::fill_n(imageBits.begin() + y * 20, 10, 0);
        maskBits.insert(maskBits.end(), {0xFF, 0xC0, 0, 0});
    }
    ASSERT_EQ(0, m_button.SetBitmaps(::CreateBitmap(20, 20, 1, 32, imageBits.data()),
                                     ::CreateBitmap(20, 20, 1, 1, maskBits.data())));
    auto normal = Render(m_button);
    EXPECT_EQ(CRect(46, 20, 56, 40), normal->Bounds(RED));
    EXPECT_EQ(Sys(COLOR_BTNFACE), normal->At(40, 30));
    EXPECT_TRUE(Render(m_button, ODS_DISABLED)->Bounds(RED).IsRectEmpty());
}

// ---- Drop-down menu

// Where the open menu stood, and the keys that drive it once it shows.
CRect g_rcMenu;
std::vector<UINT> g_menuKeys;

// Runs inside the menu's own loop: notes where the menu stands, then sends the keys.
void CALLBACK DriveOpenMenu(HWND hWnd, UINT, UINT_PTR nTimer, DWORD)
{
    ::KillTimer(hWnd, nTimer);
    const HWND hMenuWnd = ::FindWindowA("#32768", nullptr);
    if (hMenuWnd != nullptr && ::IsWindowVisible(hMenuWnd))
        ::GetWindowRect(hMenuWnd, &g_rcMenu);
    for (const UINT nKey : g_menuKeys)
        ::PostMessageA(hWnd, WM_KEYDOWN, nKey, 0);
}

// A menu left open by a broken test is closed instead of hanging the run.
void CALLBACK CloseStuckMenu(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

// A button that notes the pressed look of each paint and drives its menu once it paints pressed.
class CRecordingButton : public CSkinButton
{
protected:
    DWORD DrawFaceBackground(CDC* pDC, const CRect* pRect, const CSkinButtonPainter& painter) override
    {
        g_events.push_back(painter.IsPressedLook() ? "pressed" : "unpressed");
        if (painter.IsPressedLook() && m_bMenuOpen)
            ::SetTimer(m_hWnd, 1, 10, DriveOpenMenu);
        return CSkinButton::DrawFaceBackground(pDC, pRect, painter);
    }
};

class SkinButtonDropDown : public SkinButtonTest
{
protected:
    void SetUp() override
    {
        SkinButtonTest::SetUp();
        Attach(m_dropButton);
        m_dropButton.UpdateWindow();
        m_nStuckTimer = ::SetTimer(nullptr, 0, 10000, CloseStuckMenu);
    }
    void TearDown() override { ::KillTimer(nullptr, m_nStuckTimer); }

    // Clicks the button as the user would (its parent gets BN_CLICKED) with
    // these keys for its menu, lets every posted message arrive and answers
    // the events from the last pressed paint on (none when it never painted pressed).
    std::vector<std::string> ClickWithKeys(const std::vector<UINT>& keys)
    {
        g_events.clear();
        g_menuKeys = keys;
        g_rcMenu.SetRectEmpty();
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(ID_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(m_dropButton.m_hWnd));
        m_parent.PostMessage(WM_APP);
        MSG msg;
        while ((g_events.empty() || g_events.back() != "done") && ::GetMessageA(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&msg);
        const auto itPressed = std::find(g_events.rbegin(), g_events.rend(), "pressed");
        return itPressed == g_events.rend() ? std::vector<std::string>{}
                                            : std::vector<std::string>(std::next(itPressed).base(), g_events.end());
    }

    CRecordingButton m_dropButton;
    UINT_PTR m_nStuckTimer = 0;
};
} // namespace

TEST_F(SkinButtonDropDown, MenuOpensMeasuredBelowTheButtonAndPostsTheChosenCommandAfterItClosed)
{
    ASSERT_TRUE(m_dropButton.SetDropMenu(IDM_TEST_DROPDOWN, m_parent.m_hWnd));
    const std::vector<std::string> chosen{"pressed", "unpressed", "command", "done"};
    EXPECT_EQ(chosen, ClickWithKeys({VK_DOWN, VK_DOWN, VK_RETURN}));
    CRect rcButton;
    m_dropButton.GetWindowRect(&rcButton);
    EXPECT_EQ(CPoint(rcButton.left, rcButton.bottom), g_rcMenu.TopLeft());
    EXPECT_GT(g_rcMenu.Width(), 40);   // the items were measured
    // The items are owner-drawn: their mnemonics reach the menu through the button.
    EXPECT_EQ(chosen, ClickWithKeys({'S'}));
    EXPECT_EQ((std::vector<std::string>{"pressed", "unpressed", "done"}), ClickWithKeys({VK_ESCAPE}));

    // A template that cannot be loaded takes the earlier menu away.
    EXPECT_FALSE(m_dropButton.SetDropMenu(4711, m_parent.m_hWnd));
    EXPECT_TRUE(ClickWithKeys({VK_RETURN}).empty());
}

TEST(SkinButtonDropDownLifetime, DestroyingTheButtonTakesItsMenuAlong)
{
    const size_t nPopupsBefore = CSkinMenu::m_AllPopupHandles.size();
    {
        CSkinButton button;
        ASSERT_TRUE(button.SetDropMenu(IDM_TEST_DROPDOWN, nullptr));
        EXPECT_EQ(nPopupsBefore + 1, CSkinMenu::m_AllPopupHandles.size());
    }
    EXPECT_EQ(nPopupsBefore, CSkinMenu::m_AllPopupHandles.size());
    EXPECT_EQ(nullptr, CMenu::FindPermanentHolding(ID_TEST_FIRST));
}
