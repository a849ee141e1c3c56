#include "controls/button/SkinButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "tests/support/framework/Canvas.h"

namespace
{
    const UINT ID_BUTTON = 100;
    const COLORREF RED = RGB(220, 0, 0);
    const COLORREF GREEN = RGB(0, 128, 0);

    COLORREF Sys(int nIndex)
    {
        return ::GetSysColor(nIndex);
    }

    // A popup window that hosts the button, counts its clicks and paints
    // itself in one colour.
    class CTestParent : public CWnd
    {
    public:
        int m_nClicks = 0;
        COLORREF m_crBack = GREEN;

        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CTestParent>(
                CWnd::GetThisMessageMap(),
                {
                    OnBnClicked(ID_BUTTON, &CTestParent::OnClicked),
                    OnMessage(WM_ERASEBKGND, &CTestParent::OnEraseBkgnd),
                }
            );
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
    HICON MakeIcon(
        int cx, int cy, const std::function<COLORREF(int, int)>& colorAt,
        const std::function<BYTE(int, int)>& alphaAt = {}
    )
    {
        std::vector<DWORD> colorBits(cx * cy);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
            {
                const COLORREF cr = colorAt(x, y);
                const DWORD dwAlpha = alphaAt ? alphaAt(x, y) : 0;
                colorBits[y * cx + x] = (dwAlpha << 24) | (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr);
            }
        const std::vector<BYTE> maskBits((cx + 15) / 16 * 2 * cy, 0);
        const OwnedBitmap color(::CreateBitmap(cx, cy, 1, 32, colorBits.data()));
        const OwnedBitmap mask(::CreateBitmap(cx, cy, 1, 1, maskBits.data()));
        ICONINFO info{TRUE, 0, 0, mask.Get(), color.Get()};
        return ::CreateIconIndirect(&info);
    }

    HICON SolidIcon(int cx, int cy, COLORREF cr)
    {
        return MakeIcon(cx, cy, [cr](int, int) { return cr; });
    }

    class SkinButtonTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE(
                m_parent.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 250), nullptr, 0)
            );
            ::RedrawWindow(m_parent.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }

        // A 93 x 60 button control of the given style, taken over by m_button.
        void Attach(DWORD dwStyle = BS_PUSHBUTTON)
        {
            HWND hWnd = ::CreateWindowExA(
                0, "BUTTON", "On", WS_CHILD | WS_VISIBLE | WS_TABSTOP | dwStyle, 10, 10, 93, 60, m_parent.m_hWnd,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_BUTTON)), nullptr, nullptr
            );
            ASSERT_TRUE(m_button.SubclassWindow(hWnd));
        }

        // Paints the button into a canvas of its size through its parent's WM_DRAWITEM.
        std::unique_ptr<Canvas> Render(UINT nState = 0)
        {
            CRect rc;
            m_button.GetClientRect(&rc);
            auto canvas = std::make_unique<Canvas>(rc.Width(), rc.Height());
            DRAWITEMSTRUCT dis{ODT_BUTTON, ID_BUTTON, 0, ODA_DRAWENTIRE, nState, m_button.m_hWnd, canvas->Dc(), rc, 0};
            m_parent.SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            return canvas;
        }

        // The pointer moves onto the button with no mouse key held.
        void MoveOnto()
        {
            CPoint pt(20, 20);
            m_button.ClientToScreen(&pt);
            ::SetCursorPos(pt.x, pt.y);
            m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        }

        // The notification a click sends; the button sees it first.
        void Click()
        {
            m_parent.SendMessage(
                WM_COMMAND, MAKEWPARAM(ID_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(m_button.m_hWnd)
            );
        }

        CTestParent m_parent;
        CSkinButton m_button;
    };
}   // namespace

// The icon is centred and shifts when pressed; the flat border shows only
// while the button is hot or pressed.
TEST_F(SkinButtonTest, IconPlacementAndFlatBorderFollowHotAndPressed)
{
    Attach();
    ASSERT_EQ(0, m_button.SetIcons(OwnedIcon(SolidIcon(48, 48, RED))));
    auto idle = Render();
    EXPECT_EQ(CRect(22, 6, 70, 54), idle->Bounds(RED));
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(0, 0));
    auto pressed = Render(ODS_SELECTED);
    EXPECT_EQ(CRect(23, 7, 71, 55), pressed->Bounds(RED));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), pressed->At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), pressed->At(92, 59));
    EXPECT_TRUE(Render(ODS_DISABLED)->Bounds(RED).IsRectEmpty());

    // The hover border goes with each way the pointer or the focus can leave.
    const std::pair<UINT, WPARAM> endings[] = {
        {WM_MOUSELEAVE, 0}, {WM_KILLFOCUS, 0}, {WM_CANCELMODE, 0}, {WM_ACTIVATE, WA_INACTIVE}, {WM_ENABLE, FALSE}};
    for (const auto& [message, wParam] : endings)
    {
        MoveOnto();
        auto hot = Render();
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), hot->At(0, 0)) << "message " << message;
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), hot->At(92, 59)) << "message " << message;
        m_button.SendMessage(message, wParam);
        EXPECT_EQ(Sys(COLOR_BTNFACE), Render()->At(0, 0)) << "message " << message;
    }
}

// Options the program leaves unused, together on one check-box button: it
// toggles and stays sunken, a see-through face shows the parent, and bitmaps
// show through their masks.
TEST_F(SkinButtonTest, CheckBoxSeeThroughAndMaskedBitmapOptions)
{
    Attach(BS_AUTOCHECKBOX);
    m_button.SetSeeThrough(TRUE);
    // A 20 x 20 red square whose left half is masked out (black in the image,
    // white in the mask; mask rows are padded to 32 bits).
    std::vector<DWORD> imageBits(20 * 20, 0xDC0000);
    std::vector<BYTE> maskBits;
    for (int y = 0; y < 20; ++y)
    {
        std::fill_n(imageBits.begin() + y * 20, 10, 0);
        maskBits.insert(maskBits.end(), {0xFF, 0xC0, 0, 0});
    }
    ASSERT_EQ(
        0, m_button.SetBitmaps(
               ::CreateBitmap(20, 20, 1, 32, imageBits.data()), ::CreateBitmap(20, 20, 1, 1, maskBits.data())
           )
    );

    m_button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(BST_CHECKED, m_button.SendMessage(BM_GETCHECK));
    Click();
    EXPECT_EQ(BST_UNCHECKED, m_button.SendMessage(BM_GETCHECK));
    Click();
    EXPECT_EQ(BST_CHECKED, m_button.SendMessage(BM_GETCHECK));
    EXPECT_EQ(2, m_parent.m_nClicks);
    // Checked: sunken, but the picture keeps its place; the masked half and the face show the parent.
    auto checked = Render();
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), checked->At(0, 0));
    EXPECT_EQ(CRect(46, 20, 56, 40), checked->Bounds(RED));
    EXPECT_EQ(GREEN, checked->At(40, 30));
    EXPECT_EQ(GREEN, checked->At(10, 30));
    EXPECT_TRUE(Render(ODS_DISABLED)->Bounds(RED).IsRectEmpty());

    // The parent's look is taken once, and again only when the colours change.
    m_parent.m_crBack = RGB(0, 0, 160);
    ::RedrawWindow(m_parent.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(GREEN, Render()->At(10, 30));
    m_button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(RGB(0, 0, 160), Render()->At(10, 30));
}

// Icons handed over as OwnedIcon are the button's; ClearImages, and the raw
// form with a NULL hot icon, leave the caller's icon alone.
TEST_F(SkinButtonTest, ReplacedPicturesAreDestroyedButNotAnIconLeftWithTheCaller)
{
    Attach();
    HICON hA = SolidIcon(16, 16, RED);
    HICON hB = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(OwnedIcon(hA)));
    EXPECT_EQ(0, m_button.SetIcons(hB, nullptr));
    EXPECT_FALSE(IconAlive(hA));
    EXPECT_TRUE(IconAlive(hB));

    m_button.ClearImages();
    EXPECT_FALSE(IconAlive(hB));
    EXPECT_TRUE(Render()->Bounds(RED).IsRectEmpty());
    HICON hIdle = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(OwnedIcon(SolidIcon(16, 16, RED))));
    EXPECT_EQ(0, m_button.SetIcons(nullptr, hIdle));   // clears the images; hIdle stays the caller's
    EXPECT_TRUE(IconAlive(hIdle));
    EXPECT_TRUE(Render()->Bounds(RED).IsRectEmpty());
    // An unreadable hot icon fails, and the idle icon handed over with it is not leaked.
    HICON hGone = SolidIcon(16, 16, RED);
    ::DestroyIcon(hGone);
    EXPECT_EQ(1, m_button.SetIcons(OwnedIcon(hGone), OwnedIcon(hIdle)));
    EXPECT_FALSE(IconAlive(hIdle));
    // One handle given for both slots, raw, is destroyed once.
    HICON hBoth = SolidIcon(16, 16, RED);
    EXPECT_EQ(0, m_button.SetIcons(hBoth, hBoth));
    EXPECT_EQ(CRect(38, 22, 54, 38), Render()->Bounds(RED));
    m_button.ClearImages();
    EXPECT_FALSE(IconAlive(hBoth));
    // Bitmaps likewise, one handle given for two places included.
    HBITMAP hImage = ::CreateBitmap(8, 8, 1, 32, nullptr);
    HBITMAP hMask = ::CreateBitmap(8, 8, 1, 1, nullptr);
    EXPECT_EQ(0, m_button.SetBitmaps(hImage, hMask, hImage, hMask));
    EXPECT_EQ(DWORD(OBJ_BITMAP), ::GetObjectType(hImage));
    m_button.ClearImages();
    EXPECT_EQ(0u, ::GetObjectType(hImage));
    EXPECT_EQ(0u, ::GetObjectType(hMask));

    HCURSOR hFirst = static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_HAND)));
    HCURSOR hSecond = static_cast<HCURSOR>(::CopyIcon(::LoadCursor(nullptr, IDC_CROSS)));
    m_button.SetHoverCursor(hFirst);
    m_button.SetHoverCursor(hSecond);
    EXPECT_FALSE(IconAlive(hFirst));
    m_button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_button.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(hSecond, ::GetCursor());
}

TEST_F(SkinButtonTest, ASharedIconLivesUntilItsLastHolderLetsGoAndOnlyANewOneRepaints)
{
    Attach();
    const HICON hRed = SolidIcon(48, 48, RED), hGreen = SolidIcon(16, 16, GREEN);
    SharedIcon red = SharedIcon::Adopt(hRed);
    SharedIcon green = SharedIcon::Adopt(hGreen);
    ASSERT_TRUE(red && green);
    EXPECT_EQ(CSize(48, 48), CSize(red.Width(), red.Height()));

    const auto bRepaintPending = [this] { return ::GetUpdateRect(m_button.m_hWnd, nullptr, FALSE) != FALSE; };
    m_button.SetIcon(red);
    EXPECT_TRUE(bRepaintPending());
    EXPECT_EQ(CRect(22, 6, 70, 54), Render()->Bounds(RED));
    ::ValidateRect(m_button.m_hWnd, nullptr);
    m_button.SetIcon(red);
    EXPECT_FALSE(bRepaintPending()) << "the picture shown did not change";
    m_button.SetIcon(green);
    EXPECT_TRUE(bRepaintPending());
    EXPECT_EQ(CRect(38, 22, 54, 38), Render()->Bounds(GREEN));

    red = SharedIcon();
    EXPECT_FALSE(IconAlive(hRed)) << "the button let go of red when it took green";
    EXPECT_EQ(0, m_button.SetIcons(OwnedIcon(SolidIcon(16, 16, RED))));
    EXPECT_TRUE(IconAlive(hGreen)) << "green is still held here";
    green = SharedIcon();
    EXPECT_FALSE(IconAlive(hGreen));

    const HICON hGone = SolidIcon(16, 16, RED);
    ::DestroyIcon(hGone);
    EXPECT_FALSE(SharedIcon::Adopt(hGone)) << "an icon that cannot be read";
}

TEST_F(SkinButtonTest, GreyIdleCopyKeepsTheAlphaChannelAndTheHotLookItsColour)
{
    Attach();
    // An opaque black corner, one see-through pixel beside it, red elsewhere.
    const auto makeIcon = [] {
        return MakeIcon(
            16, 16, [](int x, int y) { return x + y == 0 ? RGB(0, 0, 0) : RED; },
            [](int x, int y) { return BYTE(x == 1 && y == 0 ? 0 : 255); }
        );
    };
    ASSERT_EQ(0, m_button.SetIconWithGrayIdle(OwnedIcon(makeIcon())));
    auto idle = Render();
    EXPECT_EQ(RGB(0, 0, 0), idle->At(38, 22));
    EXPECT_EQ(Sys(COLOR_BTNFACE), idle->At(39, 22));
    EXPECT_EQ(RGB(65, 65, 65), idle->At(40, 22));
    MoveOnto();   // hot, the icon shows in colour
    EXPECT_EQ(RED, Render()->At(40, 22));

    // The raw form asks for the copy with AUTO_GRAY_ICON.
    m_button.SendMessage(WM_MOUSELEAVE);
    ASSERT_EQ(0, m_button.SetIcons(makeIcon(), CSkinButton::AUTO_GRAY_ICON));
    EXPECT_EQ(RGB(65, 65, 65), Render()->At(40, 22));
}
