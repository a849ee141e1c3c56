#include "controls/button/SkinButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
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

namespace
{
const UINT ID_BUTTON = 100;
const UINT ID_OTHER = 101;
const COLORREF RED = RGB(220, 0, 0);
const COLORREF UNPAINTED = RGB(255, 0, 255);

COLORREF Sys(int nIndex) { return ::GetSysColor(nIndex); }

// A popup window that hosts the buttons, counts the clicks it hears and
// paints itself in one colour.
class CTestParent : public CWnd
{
public:
    int m_nClicks = 0;
    COLORREF m_crBack = RGB(0, 128, 0);

    BOOL Create() { return CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 250), nullptr, 0); }

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

// A 32-bit memory bitmap that a paint goes into, read back pixel by pixel.
class Canvas
{
public:
    Canvas(int cx, int cy) : m_hDC(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO bmi{};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        CDC::FromHandle(m_hDC)->FillSolidRect(0, 0, cx, cy, UNPAINTED);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }

    HDC Dc() const { return m_hDC; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    // The smallest rectangle holding every pixel of colour cr (empty when none).
    CRect Bounds(COLORREF cr, const CRect& rcArea) const
    {
        CRect rcFound(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = rcArea.top; y < rcArea.bottom; ++y)
            for (int x = rcArea.left; x < rcArea.right; ++x)
                if (At(x, y) == cr)
                    rcFound.UnionRect(&rcFound, CRect(x, y, x + 1, y + 1));
        return rcFound.left == INT_MAX ? CRect() : rcFound;
    }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
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

HICON SolidIcon(int cx, int cy, COLORREF cr)
{
    return MakeIcon(cx, cy, [cr](int, int) { return cr; });
}

bool IconAlive(HICON hIcon)
{
    ICONINFO info{};
    if (!::GetIconInfo(hIcon, &info))
        return false;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return true;
}

unsigned GdiObjects()
{
    AfxOnIdle();   // drops the borrowed wrappers
    return GdiCount::Of(::GetCurrentProcess()).value_or(0);
}

class SkinButtonTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_parent.Create()); }

    // A plain button control of the given style, taken over by button. The
    // second button (ID_OTHER) stands beside the first.
    HWND Attach(CSkinButton& button, DWORD dwStyle = BS_PUSHBUTTON, int cx = 93, int cy = 60, UINT nId = ID_BUTTON)
    {
        const int x = nId == ID_BUTTON ? 10 : 150;
        HWND hWnd = ::CreateWindowExA(0, "BUTTON", "On", WS_CHILD | WS_VISIBLE | WS_TABSTOP | dwStyle, x, 10, cx, cy,
                                      m_parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), nullptr,
                                      nullptr);
        EXPECT_TRUE(button.SubclassWindow(hWnd));
        return hWnd;
    }

    // Paints the button into the canvas through its parent's WM_DRAWITEM.
    void Paint(CSkinButton& button, const Canvas& canvas, UINT nState)
    {
        CRect rc;
        button.GetClientRect(&rc);
        DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(button.GetDlgCtrlID()), 0, ODA_DRAWENTIRE, nState,
                           button.m_hWnd, canvas.Dc(), rc, 0};
        m_parent.SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }

    std::unique_ptr<Canvas> Render(CSkinButton& button, UINT nState = 0)
    {
        CRect rc;
        button.GetClientRect(&rc);
        auto canvas = std::make_unique<Canvas>(rc.Width(), rc.Height());
        Paint(button, *canvas, nState);
        return canvas;
    }

    // The pointer moves onto the button (nFlags: the mouse keys held).
    void MoveOnto(CSkinButton& button, UINT nFlags = 0)
    {
        CPoint pt(20, 20);
        button.ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        button.SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(20, 20));
    }

    void RedrawParent() { ::RedrawWindow(m_parent.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

    static bool NeedsPaint(const CSkinButton& button) { return ::GetUpdateRect(button.m_hWnd, nullptr, FALSE) != FALSE; }

    static void Click(CSkinButton& button, UINT nDown = WM_LBUTTONDOWN)
    {
        button.SendMessage(nDown, MK_LBUTTON, MAKELPARAM(5, 5));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    CTestParent m_parent;
    CSkinButton m_button;
};

TEST_F(SkinButtonTest, IconIsCentredWithTruncatingHalvesAndShiftsWhenPressed)
{
    Attach(m_button);
    ASSERT_EQ(0, m_button.SetIcons(SolidIcon(48, 48, RED), nullptr));
    const CRect rcAll(0, 0, 93, 60);
    EXPECT_EQ(CRect(22, 6, 70, 54), Render(m_button)->Bounds(RED, rcAll));
    EXPECT_EQ(CRect(23, 7, 71, 55), Render(m_button, ODS_SELECTED)->Bounds(RED, rcAll));

    // Disabled, the icon is embossed grey: none of its colour is left.
    EXPECT_TRUE(Render(m_button, ODS_DISABLED)->Bounds(RED, rcAll).IsRectEmpty());

    // (40 - 49) / 2 is -4, not -5: the item's first column shows the icon's fifth.
    CSkinButton narrow;
    Attach(narrow, BS_PUSHBUTTON, 40, 30, ID_OTHER);
    narrow.SetIcons(MakeIcon(49, 20, [](int x, int) { return RGB(0, 0, 100 + x); }), nullptr);
    EXPECT_EQ(RGB(0, 0, 104), Render(narrow)->At(0, 15));
}

TEST_F(SkinButtonTest, FlatBorderIsRaisedWhenHotSunkenWhenPressedAndAbsentOtherwise)
{
    Attach(m_button);
    auto idle = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(92, 59));

    auto pressed = Render(m_button, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), pressed->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), pressed->At(92, 59));

    MoveOnto(m_button);
    auto hot = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), hot->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), hot->At(92, 59));

    m_button.SetFaceColor(CSkinButton::HotBack, RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), Render(m_button)->At(40, 30));

    m_button.SetShowBorder(FALSE);
    EXPECT_EQ(RGB(10, 20, 30), Render(m_button)->At(0, 0));
}

TEST_F(SkinButtonTest, HoverLightsOnAPlainMoveOnlyAndRepaintsOnce)
{
    Attach(m_button);
    m_button.UpdateWindow();

    MoveOnto(m_button, MK_LBUTTON);   // a press dragged in from elsewhere
    EXPECT_FALSE(NeedsPaint(m_button));
    EXPECT_EQ(Sys(COLOR_BTNFACE), Render(m_button)->At(0, 0));

    MoveOnto(m_button);
    EXPECT_TRUE(NeedsPaint(m_button));
    m_button.UpdateWindow();
    MoveOnto(m_button);
    EXPECT_FALSE(NeedsPaint(m_button));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Render(m_button)->At(0, 0));

    // The 3-D style never lights up.
    CSkinButton solid;
    Attach(solid, BS_PUSHBUTTON, 93, 60, ID_OTHER);
    solid.SetFlat(FALSE);
    solid.UpdateWindow();
    MoveOnto(solid);
    EXPECT_FALSE(NeedsPaint(solid));
}

TEST_F(SkinButtonTest, HoverEndsOnLeaveFocusLossCancelDeactivationAndDisabling)
{
    Attach(m_button);
    const struct
    {
        UINT message;
        WPARAM wParam;
    } endings[] = {{WM_MOUSELEAVE, 0}, {WM_KILLFOCUS, 0}, {WM_CANCELMODE, 0}, {WM_ACTIVATE, WA_INACTIVE},
                   {WM_ENABLE, FALSE}};
    for (const auto& ending : endings) {
        MoveOnto(m_button);
        ASSERT_EQ(Sys(COLOR_BTNHIGHLIGHT), Render(m_button)->At(0, 0));
        m_button.UpdateWindow();
        m_button.SendMessage(ending.message, ending.wParam);
        EXPECT_TRUE(NeedsPaint(m_button)) << "message " << ending.message;
        EXPECT_EQ(Sys(COLOR_BTNFACE), Render(m_button)->At(0, 0)) << "message " << ending.message;
    }
}

TEST_F(SkinButtonTest, ClicksReachTheParentOncePerPressIncludingDoubleClicks)
{
    Attach(m_button);
    Click(m_button);
    EXPECT_EQ(1, m_parent.m_nClicks);
    EXPECT_EQ(m_button.m_hWnd, ::GetFocus());

    Click(m_button, WM_LBUTTONDBLCLK);   // the second half of a double click
    EXPECT_EQ(2, m_parent.m_nClicks);
}

TEST_F(SkinButtonTest, CheckBoxModeTogglesOnClickAndFollowsSetCheck)
{
    Attach(m_button, BS_AUTOCHECKBOX);
    m_button.SetIcons(SolidIcon(48, 48, RED), nullptr);
    m_button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(1, m_button.SendMessage(BM_GETCHECK));
    m_button.SendMessage(BM_SETCHECK, 3);
    EXPECT_EQ(0, m_button.SendMessage(BM_GETCHECK));

    Click(m_button);
    EXPECT_EQ(1, m_button.SendMessage(BM_GETCHECK));
    EXPECT_EQ(1, m_parent.m_nClicks);
    // Checked: sunken frame, icon in place (no press shift in this mode).
    auto checked = Render(m_button);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), checked->At(0, 0));
    EXPECT_EQ(CRect(22, 6, 70, 54), checked->Bounds(RED, CRect(0, 0, 93, 60)));
    Click(m_button);
    EXPECT_EQ(0, m_button.SendMessage(BM_GETCHECK));

    CSkinButton push;
    Attach(push, BS_PUSHBUTTON, 93, 60, ID_OTHER);
    push.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(0, push.SendMessage(BM_GETCHECK));
}

TEST_F(SkinButtonTest, DefaultButtonStateFollowsSetStyleAndStaysOwnerDrawn)
{
    HWND hWnd = Attach(m_button, BS_DEFPUSHBUTTON);
    const auto type = [hWnd] { return ::GetWindowLongA(hWnd, GWL_STYLE) & 0x1F; };
    EXPECT_EQ(BS_OWNERDRAW, type());
    EXPECT_TRUE(m_button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);

    m_button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    const LRESULT nCode = m_button.SendMessage(WM_GETDLGCODE);
    EXPECT_TRUE(nCode & DLGC_UNDEFPUSHBUTTON);
    EXPECT_FALSE(nCode & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(BS_OWNERDRAW, type());
}

TEST_F(SkinButtonTest, DisablingHandsTheFocusToTheNextControlOrTheParent)
{
    Attach(m_button);
    HWND hNext = ::CreateWindowExA(0, "BUTTON", "next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 120, 10, 60, 30,
                                   m_parent.m_hWnd, nullptr, nullptr, nullptr);
    HWND hLast = ::CreateWindowExA(0, "BUTTON", "last", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 10, 60, 30,
                                   m_parent.m_hWnd, nullptr, nullptr, nullptr);
    ::SetFocus(hLast);   // the button does not hold the focus
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(hNext, ::GetFocus());

    ::DestroyWindow(hNext);
    ::DestroyWindow(hLast);
    m_button.EnableWindow(TRUE);
    m_button.SetFocus();
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(m_parent.m_hWnd, ::GetFocus());
}

TEST_F(SkinButtonTest, ThreeDStyleShowsEdgeFrameSmallerFaceAndFocusRectangle)
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
    EXPECT_EQ(Sys(COLOR_3DLIGHT), plain->At(1, 1));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), plain->At(92, 59));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), plain->At(91, 58));

    auto focused = Render(m_button, ODS_FOCUS);
    EXPECT_EQ(RGB(0, 0, 0), focused->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), focused->At(1, 1));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), focused->At(91, 58));
    EXPECT_GT(focusDots(*focused), 20);
    EXPECT_EQ(0, focusDots(*plain));

    auto pressed = Render(m_button, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), pressed->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), pressed->At(92, 59));

    CSkinButton defaultButton;
    Attach(defaultButton, BS_DEFPUSHBUTTON, 93, 60, ID_OTHER);
    defaultButton.SetFlat(FALSE);
    auto unfocusedDefault = Render(defaultButton);
    EXPECT_EQ(RGB(0, 0, 0), unfocusedDefault->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), unfocusedDefault->At(1, 1));
    EXPECT_EQ(0, focusDots(*unfocusedDefault));
}

TEST_F(SkinButtonTest, SetIconsDestroysThePreviousIconsAndLeavesARefusedIdleIconAlone)
{
    Attach(m_button);
    HICON hA = SolidIcon(16, 16, RED);
    HICON hB = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(hA, nullptr));
    EXPECT_EQ(0, m_button.SetIcons(hB, nullptr));
    EXPECT_FALSE(IconAlive(hA));
    EXPECT_TRUE(IconAlive(hB));

    HICON hIdle = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(nullptr, hIdle));   // clears the images
    EXPECT_FALSE(IconAlive(hB));
    EXPECT_TRUE(IconAlive(hIdle));
    EXPECT_TRUE(Render(m_button)->Bounds(RED, CRect(0, 0, 93, 60)).IsRectEmpty());

    // An unreadable hot icon fails, and the idle icon handed over with it is not leaked.
    HICON hGone = SolidIcon(16, 16, RED);
    ::DestroyIcon(hGone);
    EXPECT_EQ(1, m_button.SetIcons(hGone, hIdle));
    EXPECT_FALSE(IconAlive(hIdle));
}

TEST_F(SkinButtonTest, TenThousandIconChangesLeaveNoHandlesBehind)
{
    Attach(m_button);
    const unsigned nBefore = GdiObjects();
    ASSERT_GT(nBefore, 0u);
    for (int i = 0; i < 10000; ++i) {
        // Every tenth change also builds a grey idle copy (icons are slow under Wine).
        ASSERT_EQ(0, m_button.SetIcons(SolidIcon(4, 4, RED), i % 10 ? nullptr : CSkinButton::AUTO_GRAY_ICON));
        if (i % 1000 == 0)
            Render(m_button, i % 2000 ? ODS_SELECTED : ODS_DISABLED);
    }
    m_button.SetIcons(nullptr, nullptr);
    EXPECT_EQ(nBefore, GdiObjects());
}

TEST_F(SkinButtonTest, GreyIdleCopyWeighsGreenRedBlueAndKeepsEveryColumn)
{
    Attach(m_button);
    const COLORREF columns[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(200, 100, 50), RGB(255, 255, 255)};
    // 15 wide: an odd size whose hot spot is not its exact centre.
    m_button.SetIcons(MakeIcon(15, 10, [&](int x, int) { return x == 14 ? columns[1] : columns[x % 5]; }),
                      CSkinButton::AUTO_GRAY_ICON);
    auto idle = Render(m_button);
    const int x0 = (93 - 15) / 2;
    const int y = 30;
    EXPECT_EQ(RGB(76, 76, 76), idle->At(x0, y));
    EXPECT_EQ(RGB(149, 149, 149), idle->At(x0 + 1, y));
    EXPECT_EQ(RGB(29, 29, 29), idle->At(x0 + 2, y));
    EXPECT_EQ(RGB(124, 124, 124), idle->At(x0 + 3, y));
    EXPECT_EQ(RGB(255, 255, 255), idle->At(x0 + 4, y));   // the weights sum to exactly 1
    EXPECT_EQ(RGB(149, 149, 149), idle->At(x0 + 14, y));
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(x0 + 15, y));

    // Pressed or hot, the hot icon shows in colour.
    EXPECT_EQ(RGB(255, 0, 0), Render(m_button, ODS_SELECTED)->At(x0 + 1, y + 1));
    MoveOnto(m_button);
    EXPECT_EQ(RGB(255, 0, 0), Render(m_button)->At(x0, y));
    m_button.SendMessage(WM_MOUSELEAVE);

    // An icon with an alpha channel keeps it: an opaque black corner, one
    // see-through pixel beside it, red elsewhere.
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
    HDC hDC = canvas.Dc();
    ::SetTextColor(hDC, RGB(1, 2, 3));
    ::SetBkColor(hDC, RGB(4, 5, 6));
    ::SetBkMode(hDC, OPAQUE);
    const UINT objectTypes[] = {OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP, OBJ_FONT};
    std::vector<HGDIOBJ> before;
    for (UINT nType : objectTypes)
        before.push_back(::GetCurrentObject(hDC, nType));

    Paint(m_button, canvas, ODS_FOCUS | ODS_DISABLED);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i], ::GetCurrentObject(hDC, objectTypes[i])) << "object type " << objectTypes[i];
    EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(hDC));
    EXPECT_EQ(RGB(4, 5, 6), ::GetBkColor(hDC));
    EXPECT_EQ(OPAQUE, ::GetBkMode(hDC));
}

TEST_F(SkinButtonTest, DestroyingTheButtonReleasesImagesCursorAndBackground)
{
    HCURSOR hShared = ::LoadCursor(nullptr, IDC_HAND);   // loaded once for the whole process
    const unsigned nBefore = GdiObjects();
    HCURSOR hCursor = static_cast<HCURSOR>(::CopyIcon(hShared));
    HWND hWnd = nullptr;
    {
        CSkinButton button;
        hWnd = Attach(button);
        button.SetIcons(SolidIcon(8, 8, RED), CSkinButton::AUTO_GRAY_ICON);
        button.SetHoverCursor(hCursor);
        button.SetSeeThrough(TRUE);
        Render(button);
    }
    ::DestroyWindow(hWnd);
    EXPECT_FALSE(IconAlive(hCursor));
    EXPECT_EQ(nBefore, GdiObjects());
}

TEST_F(SkinButtonTest, SeeThroughShowsTheParentAsFirstPaintedUntilColoursChange)
{
    RedrawParent();
    Attach(m_button);
    m_button.SetSeeThrough(TRUE);
    EXPECT_EQ(RGB(0, 128, 0), Render(m_button)->At(40, 30));

    m_parent.m_crBack = RGB(0, 0, 160);
    RedrawParent();
    EXPECT_EQ(RGB(0, 128, 0), Render(m_button)->At(40, 30));

    m_button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(RGB(0, 0, 160), Render(m_button)->At(40, 30));
}

TEST_F(SkinButtonTest, CaptionShowsOnlyWhenAskedAndIsEmbossedWhenDisabled)
{
    Attach(m_button);
    const CRect rcAll(0, 0, 93, 60);
    EXPECT_TRUE(Render(m_button)->Bounds(Sys(COLOR_BTNTEXT), rcAll).IsRectEmpty());

    m_button.SetShowCaption(TRUE);
    const CRect rcText = Render(m_button)->Bounds(Sys(COLOR_BTNTEXT), rcAll);
    ASSERT_FALSE(rcText.IsRectEmpty());
    EXPECT_LE(std::abs((rcText.left + rcText.right) - 93), 3);   // centred
    EXPECT_LE(std::abs((rcText.top + rcText.bottom) - 60), 3);

    auto disabled = Render(m_button, ODS_DISABLED);
    EXPECT_TRUE(disabled->Bounds(Sys(COLOR_BTNTEXT), rcAll).IsRectEmpty());
    const CRect rcShadow = disabled->Bounds(Sys(COLOR_BTNSHADOW), rcAll);
    const CRect rcHighlight = disabled->Bounds(Sys(COLOR_BTNHIGHLIGHT), rcAll);
    EXPECT_EQ(rcShadow.right + 1, rcHighlight.right);
    EXPECT_EQ(rcShadow.bottom + 1, rcHighlight.bottom);
}

TEST_F(SkinButtonTest, ImagePlacementPutsTheIconBeforeAboveOrAfterTheCaption)
{
    Attach(m_button);
    m_button.SetIcons(SolidIcon(16, 16, RED), nullptr);
    m_button.SetShowCaption(TRUE);
    const CRect rcAll(0, 0, 93, 60);
    const struct
    {
        CSkinButton::ImagePlacement placement;
        CRect rcIcon;
    } cases[] = {
        {CSkinButton::ImageBeforeText, CRect(3, 22, 19, 38)},
        {CSkinButton::ImageAboveText, CRect(38, 3, 54, 19)},
        {CSkinButton::ImageAfterText, CRect(74, 22, 90, 38)},
    };
    for (const auto& c : cases) {
        m_button.SetImagePlacement(c.placement);
        auto canvas = Render(m_button);
        EXPECT_EQ(c.rcIcon, canvas->Bounds(RED, rcAll)) << "placement " << int(c.placement);
        // The caption keeps clear of the icon.
        CRect rcOverlap;
        EXPECT_FALSE(rcOverlap.IntersectRect(&c.rcIcon, canvas->Bounds(Sys(COLOR_BTNTEXT), rcAll)));
    }

    // Without a caption the icon is centred, except that "after" keeps the top.
    m_button.SetShowCaption(FALSE);
    EXPECT_EQ(CRect(38, 0, 54, 16), Render(m_button)->Bounds(RED, rcAll));
}

TEST_F(SkinButtonTest, BitmapsShowThroughTheirMasksAndDimWhenDisabled)
{
    Attach(m_button);
    // A 20 x 20 red square whose left half is masked out (black in the image,
    // white in the mask).
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hImage = ::CreateCompatibleBitmap(hScreen, 20, 20);
    ::ReleaseDC(nullptr, hScreen);
    HBITMAP hMask = ::CreateBitmap(20, 20, 1, 1, nullptr);
    HGDIOBJ hOld = ::SelectObject(dc, hImage);
    dc.FillSolidRect(0, 0, 20, 20, RED);
    dc.FillSolidRect(0, 0, 10, 20, RGB(0, 0, 0));
    ::SelectObject(dc, hMask);
    dc.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 0));
    dc.FillSolidRect(0, 0, 10, 20, RGB(255, 255, 255));
    ::SelectObject(dc, hOld);

    ASSERT_EQ(0, m_button.SetBitmaps(hImage, hMask));
    auto normal = Render(m_button);
    EXPECT_EQ(CRect(46, 20, 56, 40), normal->Bounds(RED, CRect(0, 0, 93, 60)));
    EXPECT_EQ(Sys(COLOR_BTNFACE), normal->At(40, 30));

    EXPECT_TRUE(Render(m_button, ODS_DISABLED)->Bounds(RED, CRect(0, 0, 93, 60)).IsRectEmpty());
    m_button.SetDimDisabledBitmap(FALSE);
    EXPECT_FALSE(Render(m_button, ODS_DISABLED)->Bounds(RED, CRect(0, 0, 93, 60)).IsRectEmpty());
}

TEST_F(SkinButtonTest, LinkIsOpenedOnClickAndAnOverlongLinkIsRefused)
{
    Attach(m_button);
    TempFolder folder;
    const std::string strMarker = Text::ToUtf8(folder.File(L"opened.txt"));
    const std::string strScript = Text::ToUtf8(folder.File(L"open.cmd"));
    std::ofstream(strScript) << "echo opened> \"" << strMarker << "\"\r\n";

    ASSERT_TRUE(m_button.SetLink(strScript.c_str()));
    EXPECT_FALSE(m_button.SetLink(std::string(MAX_PATH, 'x').c_str()));
    EXPECT_EQ(strScript, m_button.GetLink());

    Click(m_button);
    EXPECT_EQ(1, m_parent.m_nClicks);
    EXPECT_TRUE(WaitUntil([&] { return ::GetFileAttributesA(strMarker.c_str()) != INVALID_FILE_ATTRIBUTES; }));
}

TEST_F(SkinButtonTest, HoverCursorIsShownAndReplacedOneIsDestroyed)
{
    Attach(m_button);
    HCURSOR hFirst = static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_HAND)));
    HCURSOR hSecond = static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_CROSS)));
    m_button.SetHoverCursor(hFirst);
    m_button.SetHoverCursor(hSecond);
    EXPECT_FALSE(IconAlive(hFirst));
    EXPECT_TRUE(m_button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_button.m_hWnd),
                                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hSecond, ::GetCursor());
}

TEST_F(SkinButtonTest, TooltipTextCanBeSetAndRemoved)
{
    CSkinButton unattached;
    EXPECT_FALSE(unattached.SetTooltipText("no window yet"));

    Attach(m_button);
    EXPECT_TRUE(m_button.SetTooltipText("Breathing light"));
    HWND hTip = ::FindWindowA(TOOLTIPS_CLASSA, nullptr);
    ASSERT_NE(nullptr, hTip);
    EXPECT_EQ(1, ::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_TRUE(m_button.SetTooltipText(nullptr));
    EXPECT_EQ(0, ::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
}
} // namespace
