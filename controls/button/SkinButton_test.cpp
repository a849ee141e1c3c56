#include "controls/button/SkinButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "tests/support/GdiCount.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Text.h"
#include "tests/support/Wait.h"
#include "tests/support/framework/Canvas.h"

namespace
{
const UINT ID_BUTTON = 100;
const UINT ID_OTHER = 101;
const COLORREF RED = RGB(220, 0, 0);

COLORREF Sys(int nIndex) { return ::GetSysColor(nIndex); }

// A popup window that hosts the buttons, counts the clicks it hears and
// paints itself in one colour.
class CTestParent : public CWnd
{
public:
    int m_nClicks = 0;
    COLORREF m_crBack = RGB(0, 128, 0);

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap map = MessageMap::Of<CTestParent>(CWnd::GetThisMessageMap(), {
            OnBnClicked(ID_BUTTON, &CTestParent::OnClicked),
            OnMessage(WM_ERASEBKGND, &CTestParent::OnEraseBkgnd),
        });
        return &map;
    }

protected:
    void OnClicked() { ++m_nClicks; }
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

    static void Click(CSkinButton& button, UINT nDown = WM_LBUTTONDOWN)
    {
        button.SendMessage(nDown, MK_LBUTTON, MAKELPARAM(5, 5));
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
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), focused->At(1, 1));
    EXPECT_GT(focusDots(*focused), 20);

    // The default button wears the black frame without the focus, until
    // BM_SETSTYLE takes the default state away.
    CSkinButton defaultButton;
    HWND hDefault = Attach(defaultButton, BS_DEFPUSHBUTTON, ID_OTHER);
    defaultButton.SetFlat(FALSE);
    EXPECT_TRUE(defaultButton.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(RGB(0, 0, 0), Render(defaultButton)->At(0, 0));
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

TEST_F(SkinButtonTest, ClicksReachTheParentOncePerPressEvenInADoubleClickAndOpenTheLink)
{
    Attach(m_button);
    TempFolder folder;
    const std::string strMarker = Text::ToUtf8(folder.File(L"opened.txt"));
    const std::string strScript = Text::ToUtf8(folder.File(L"open.cmd"));
    std::ofstream(strScript) << "echo opened> \"" << strMarker << "\"\r\n";
    ASSERT_TRUE(m_button.SetLink(strScript.c_str()));
    EXPECT_FALSE(m_button.SetLink(std::string(MAX_PATH, 'x').c_str()));   // refused, not shortened

    Click(m_button);
    EXPECT_EQ(1, m_parent.m_nClicks);
    EXPECT_EQ(m_button.m_hWnd, ::GetFocus());
    EXPECT_TRUE(WaitUntil([&] { return ::GetFileAttributesA(strMarker.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    Click(m_button, WM_LBUTTONDBLCLK);   // the second half of a double click
    EXPECT_EQ(2, m_parent.m_nClicks);
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

TEST_F(SkinButtonTest, PaintGivesTheOwnersDcBackAsItWas)
{
    Attach(m_button, BS_DEFPUSHBUTTON);
    m_button.SetFlat(FALSE);
    m_button.SetShowCaption(TRUE);
    m_button.SetIcons(SolidIcon(16, 16, RED), nullptr);
    const Canvas canvas(93, 60);
    ::SetTextColor(canvas.Dc(), RGB(1, 2, 3));
    ::SetBkColor(canvas.Dc(), RGB(4, 5, 6));
    const auto before = canvas.State();
    DRAWITEMSTRUCT dis{ODT_BUTTON, ID_BUTTON, 0, ODA_DRAWENTIRE, ODS_FOCUS | ODS_DISABLED, m_button.m_hWnd,
                       canvas.Dc(), CRect(0, 0, 93, 60), 0};
    m_parent.SendMessage(WM_DRAWITEM, ID_BUTTON, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(before, canvas.State());
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
} // namespace
