#include "controls/menu/SkinMenuPainter.h"

#include "controls/menu/SkinMenu.h"
#include "controls/menu/SkinMenuMemDC.h"
#include "controls/menu/SkinMenuTheme.h"
#include "framework/ImageList.h"
#include "framework/ScopedSelect.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace
{
const int ITEM_WIDTH = 160;
const int ITEM_HEIGHT = 22;

COLORREF Sys(int nIndex)
{
    return ::GetSysColor(nIndex);
}

// A 32-bit memory DC the size of one menu item, to paint items into and
// read their pixels back.
class Canvas
{
public:
    Canvas(int cx = ITEM_WIDTH, int cy = ITEM_HEIGHT)
    {
        m_dc.CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
        m_pSelect = std::make_unique<ScopedSelect>(m_dc, m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, RGB(1, 2, 3));
    }

    CDC& DC() { return m_dc; }
    COLORREF Pixel(int x, int y) const { return m_dc.GetPixel(x, y); }

    // The first column, from x on, in which row y differs from crBack.
    int FirstDifferent(int x, int y, COLORREF crBack) const
    {
        for (; x < ITEM_WIDTH; ++x)
            if (Pixel(x, y) != crBack)
                return x;
        return -1;
    }

    // The first column from x on that differs from crBack in any row.
    int FirstDifferentInRows(int x, COLORREF crBack) const
    {
        int nFirst = -1;
        for (int y = 1; y < ITEM_HEIGHT - 1; ++y) {
            const int n = FirstDifferent(x, y, crBack);
            if (n >= 0 && (nFirst < 0 || n < nFirst))
                nFirst = n;
        }
        return nFirst;
    }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    std::unique_ptr<ScopedSelect> m_pSelect;
};

// Each test starts from the class-wide defaults and leaves them so.
class SkinMenuPainting : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_menu.CreatePopupMenu()); }
    void TearDown() override
    {
        CSkinMenu::m_nDrawStyle = 0;
        CSkinMenu::m_bHighlightGrayed = FALSE;
    }

    CSkinMenuData& Append(const wchar_t* pwszText, UINT nID)
    {
        m_menu.AppendItem(pwszText, 0, nID);
        return m_menu.GetRecord(m_menu.GetRecordCount() - 1);
    }

    DRAWITEMSTRUCT Request(Canvas& canvas, const CSkinMenuData& record, UINT nState)
    {
        DRAWITEMSTRUCT request = {};
        request.CtlType = ODT_MENU;
        request.itemID = static_cast<UINT>(record.m_uCommandId);
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = nState;
        request.hwndItem = reinterpret_cast<HWND>(m_menu.m_hMenu);
        request.hDC = canvas.DC();
        request.rcItem = CRect(0, 0, ITEM_WIDTH, ITEM_HEIGHT);
        request.itemData = reinterpret_cast<ULONG_PTR>(&record);
        return request;
    }

    void Draw(Canvas& canvas, const CSkinMenuData& record, UINT nState)
    {
        DRAWITEMSTRUCT request = Request(canvas, record, nState);
        m_menu.DrawItem(&request);
    }

    static COLORREF FlatFace() { return CSkinMenuTheme::LightenColor(0.25, Sys(COLOR_BTNFACE)); }

    CSkinMenu m_menu;
};

// A 16 x 15 picture: a black 5 x 5 square at (4, 4) on the button face.
void AddSquarePicture(CImageList& images)
{
    ASSERT_TRUE(images.Create(16, 15, ILC_COLOR24 | ILC_MASK, 1, 1));
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    CBitmap picture;
    picture.CreateCompatibleBitmap(&screen, 16, 15);
    ::ReleaseDC(nullptr, screen.Detach());
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    {
        const ScopedSelect select(dc, picture);
        dc.FillSolidRect(0, 0, 16, 15, Sys(COLOR_BTNFACE));
        dc.FillSolidRect(4, 4, 5, 5, RGB(0, 0, 0));
    }
    ASSERT_EQ(0, images.Add(&picture, RGB(255, 0, 255)));
}
}

TEST_F(SkinMenuPainting, FlatStyleHasA23PixelColumnAndTextFrom31)
{
    CSkinMenu::m_nDrawStyle = 1;
    Canvas canvas;
    Draw(canvas, Append(L"WWW", 1), 0);

    for (int x = 0; x < 23; ++x)
        ASSERT_EQ(FlatFace(), canvas.Pixel(x, ITEM_HEIGHT / 2)) << x;
    EXPECT_EQ(Sys(COLOR_WINDOW), canvas.Pixel(23, ITEM_HEIGHT / 2));
    const int nTextStart = canvas.FirstDifferentInRows(23, Sys(COLOR_WINDOW));
    EXPECT_GE(nTextStart, 31);
    EXPECT_LE(nTextStart, 33);
}

TEST_F(SkinMenuPainting, ClassicStyleTextStartsAt25)
{
    Canvas canvas;
    Draw(canvas, Append(L"WWW", 1), 0);

    EXPECT_EQ(Sys(COLOR_MENU), canvas.Pixel(0, ITEM_HEIGHT / 2));
    const int nTextStart = canvas.FirstDifferentInRows(0, Sys(COLOR_MENU));
    EXPECT_GE(nTextStart, 25);
    EXPECT_LE(nTextStart, 27);

    // Selected: the whole row in the highlight, text in the highlight text colour.
    Canvas selected;
    Draw(selected, m_menu.GetRecord(0), ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected.Pixel(0, 0));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected.Pixel(ITEM_WIDTH - 1, ITEM_HEIGHT - 1));
}

TEST_F(SkinMenuPainting, SeparatorsMeasureAndDrawInBothStyles)
{
    CSkinMenuData& separator = Append(nullptr, 0);
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&separator);
    const UINT nHalfMenu = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU) >> 1);

    m_menu.MeasureItem(&measure);
    EXPECT_EQ(0u, measure.itemWidth);
    EXPECT_EQ(std::max(nHalfMenu, 9u), measure.itemHeight);
    Canvas classic;
    Draw(classic, separator, 0);
    const int nMiddle = ITEM_HEIGHT / 2;
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(5, nMiddle - 1));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), classic.Pixel(5, nMiddle));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), classic.Pixel(5, nMiddle + 1));

    CSkinMenu::m_nDrawStyle = 1;
    m_menu.MeasureItem(&measure);
    EXPECT_EQ(0u, measure.itemWidth);
    EXPECT_EQ(std::max(nHalfMenu, 11u), measure.itemHeight);
    Canvas flat;
    Draw(flat, separator, 0);
    EXPECT_EQ(FlatFace(), flat.Pixel(5, nMiddle));
    EXPECT_EQ(Sys(COLOR_WINDOW), flat.Pixel(29, nMiddle));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), flat.Pixel(30, nMiddle));
}

TEST_F(SkinMenuPainting, ItemsWithoutTextMeasureWithoutText)
{
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&Append(nullptr, 5));
    const UINT nMenuHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));

    m_menu.MeasureItem(&measure);
    EXPECT_EQ(2u * 16 + 1, measure.itemWidth);
    EXPECT_EQ(std::max(nMenuHeight, 19u), measure.itemHeight);
    CSkinMenu::m_nDrawStyle = 1;
    m_menu.MeasureItem(&measure);
    EXPECT_EQ(16u + 15, measure.itemWidth);
    EXPECT_EQ(std::max(nMenuHeight, 22u), measure.itemHeight);

    // A longer text measures wider.
    const UINT nEmptyWidth = measure.itemWidth;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&Append(L"Some text", 6));
    m_menu.MeasureItem(&measure);
    EXPECT_GT(measure.itemWidth, nEmptyWidth + 20);
}

TEST_F(SkinMenuPainting, CheckGlyphIsSevenThreePixelStrokes)
{
    Canvas canvas(12, 12);
    canvas.DC().FillSolidRect(0, 0, 12, 12, RGB(255, 255, 255));
    CSkinMenuPainter::DrawCheckGlyph(RGB(0, 0, 0), 2, 3, &canvas.DC());

    const int TOP[7] = {2, 3, 4, 3, 2, 1, 0};
    std::set<std::pair<int, int>> expected;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 3; ++j)
            expected.insert({2 + i, 3 + TOP[i] + j});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const COLORREF cr = expected.count({x, y}) ? RGB(0, 0, 0) : RGB(255, 255, 255);
            EXPECT_EQ(cr, canvas.Pixel(x, y)) << x << "," << y;
        }
}

TEST_F(SkinMenuPainting, CheckedItemsGetABoxWithAGlyphOrADot)
{
    CSkinMenuData& check = Append(L"Check", 1);
    CSkinMenuData& radio = Append(L"Radio", 2);
    CBitmap mark;
    mark.CreateBitmap(8, 8, 1, 1, nullptr);
    ASSERT_TRUE(::SetMenuItemBitmaps(m_menu.m_hMenu, 2, MF_BYCOMMAND, nullptr, mark));
    const COLORREF crGlyph = Sys(COLOR_MENUTEXT);

    // Classic: a 16 x 15 box one pixel in; no sunken border on this platform.
    const int dy = (ITEM_HEIGHT - 15 - 4) / 2;
    const COLORREF crBox = CSkinMenuTheme::LightenColor(0.6, Sys(COLOR_MENU));
    Canvas classic;
    Draw(classic, check, ODS_CHECKED);
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(0, dy + 2));
    EXPECT_EQ(crBox, classic.Pixel(1, dy + 2));
    EXPECT_EQ(crBox, classic.Pixel(16, dy + 16));
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(17, dy + 2));
    EXPECT_EQ(crGlyph, classic.Pixel(1 + 4, dy + 2 + 4 + 2));

    // Flat: a 16 x 16 box 4 pixels in, framed in the highlight colour.
    CSkinMenu::m_nDrawStyle = 1;
    const int nTop = (ITEM_HEIGHT - 16 + 1) / 2;
    const COLORREF crHighlight = Sys(COLOR_HIGHLIGHT);
    Canvas flat;
    Draw(flat, check, ODS_CHECKED);
    EXPECT_EQ(FlatFace(), flat.Pixel(3, nTop));
    EXPECT_EQ(crHighlight, flat.Pixel(4, nTop));
    EXPECT_EQ(crHighlight, flat.Pixel(19, nTop + 15));
    EXPECT_EQ(CSkinMenuTheme::LightenColor(0.85, crHighlight), flat.Pixel(5, nTop + 1));
    EXPECT_EQ(crGlyph, flat.Pixel(4 + 5, nTop + 4 + 2));      // first stroke
    EXPECT_EQ(crGlyph, flat.Pixel(4 + 5 + 6, nTop + 4 + 1));  // last stroke

    // An item with a checked-state bitmap shows a dot instead.
    Canvas dot;
    Draw(dot, radio, ODS_CHECKED);
    EXPECT_EQ(crGlyph, dot.Pixel(4 + 5 + 3, nTop + 4 + 3));
    EXPECT_NE(crGlyph, dot.Pixel(4 + 5 + 6, nTop + 4 + 1));
}

TEST_F(SkinMenuPainting, GrayedSelectedFlatItemIsPaintedUnselected)
{
    CSkinMenu::m_nDrawStyle = 1;
    CSkinMenuData& record = Append(L"Grayed", 1);
    const COLORREF crSelect = CSkinMenuTheme::LightenColor(0.85, Sys(COLOR_HIGHLIGHT));

    Canvas canvas;
    DRAWITEMSTRUCT request = Request(canvas, record, ODS_SELECTED | ODS_GRAYED);
    m_menu.DrawItem(&request);
    EXPECT_EQ(0u, request.itemState & ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_WINDOW), canvas.Pixel(100, 2));
    EXPECT_EQ(FlatFace(), canvas.Pixel(10, 2));
    // The text is there, lightened gray.
    const COLORREF crText = CSkinMenuTheme::LightenColor(0.4, Sys(COLOR_GRAYTEXT));
    bool bTextSeen = false;
    for (int y = 0; y < ITEM_HEIGHT && !bTextSeen; ++y)
        for (int x = 31; x < 90 && !bTextSeen; ++x)
            bTextSeen = canvas.Pixel(x, y) == crText;
    EXPECT_TRUE(bTextSeen);

    // A menu that highlights grayed items shows the selection.
    CSkinMenu::m_bHighlightGrayed = TRUE;
    Canvas highlighted;
    request = Request(highlighted, record, ODS_SELECTED | ODS_GRAYED);
    m_menu.DrawItem(&request);
    EXPECT_EQ(crSelect, highlighted.Pixel(100, 2));
    EXPECT_NE(0u, request.itemState & ODS_SELECTED);
}

TEST_F(SkinMenuPainting, DisabledPicturesAreEmbossedByBothRoutines)
{
    CImageList images;
    AddSquarePicture(images);
    CSkinMenuData& record = Append(L"Picture", 1);
    record.m_nImageState = 0;
    record.m_nImage = 0;
    for (const BOOL bDib : {FALSE, TRUE}) {
        SCOPED_TRACE(bDib ? "DIB mask" : "monochrome mask");
        m_menu.m_bEmbossByDib = bDib;
        record.m_pImages = std::make_unique<CImageList>();
        record.m_pImages->Attach(::ImageList_Duplicate(images));

        // Classic: picture origin (2, dy + 2) on the menu colour.
        Canvas canvas;
        Draw(canvas, record, ODS_GRAYED);
        const int x = 2;
        const int y = (ITEM_HEIGHT - 15 - 4) / 2 + 2;
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.Pixel(x + 4, y + 4));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.Pixel(x + 8, y + 8));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.Pixel(x + 9, y + 6));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.Pixel(x + 6, y + 9));
        EXPECT_EQ(Sys(COLOR_MENU), canvas.Pixel(x + 2, y + 2));
        EXPECT_EQ(Sys(COLOR_MENU), canvas.Pixel(x + 12, y + 12));
    }
}

TEST_F(SkinMenuPainting, PicturesShowInTheColumnAndAMissingListIsSurvived)
{
    CSkinMenu::m_nDrawStyle = 1;
    CSkinMenuData& record = Append(L"Picture", 1);
    record.m_nImageState = 0;
    record.m_nImage = 0;
    record.m_pImages = std::make_unique<CImageList>();
    AddSquarePicture(*record.m_pImages);

    // Selected: the cell in the selection colour, the picture at (4, dy).
    const int dy = (ITEM_HEIGHT - 15 + 1) / 2;
    Canvas hot;
    Draw(hot, record, ODS_SELECTED);
    EXPECT_EQ(RGB(0, 0, 0), hot.Pixel(4 + 4, dy + 4));
    EXPECT_EQ(CSkinMenuTheme::LightenColor(0.85, Sys(COLOR_HIGHLIGHT)), hot.Pixel(1, 1));

    // An item that claims a picture without a list to take it from.
    record.m_pImages.reset();
    for (const UINT nState : {0u, UINT(ODS_GRAYED), UINT(ODS_GRAYED | ODS_SELECTED), UINT(ODS_GRAYED | ODS_CHECKED)}) {
        Canvas flat;
        Draw(flat, record, nState);
        EXPECT_EQ(Sys(COLOR_WINDOW), flat.Pixel(100, 2)) << nState;
        CSkinMenu::m_nDrawStyle = 0;
        Canvas classic;
        Draw(classic, record, nState);
        // The classic style shows a grayed item selected.
        EXPECT_EQ(Sys((nState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_MENU), classic.Pixel(100, 2)) << nState;
        CSkinMenu::m_nDrawStyle = 1;
    }
}

TEST_F(SkinMenuPainting, DrawingLeavesNoGdiObjectsAndRestoresTheDc)
{
    CSkinMenuData& text = Append(L"Open\tCtrl+O", 1);
    CSkinMenuData& separator = Append(nullptr, 0);
    CSkinMenuData& picture = Append(L"Picture", 2);
    picture.m_nImageState = 0;
    picture.m_nImage = 0;
    picture.m_pImages = std::make_unique<CImageList>();
    AddSquarePicture(*picture.m_pImages);
    const UINT STATES[] = {0, ODS_SELECTED, ODS_GRAYED, ODS_GRAYED | ODS_SELECTED, ODS_CHECKED,
                           ODS_CHECKED | ODS_SELECTED};

    Canvas canvas;
    HDC hDC = canvas.DC();
    const HGDIOBJ hFont = ::GetCurrentObject(hDC, OBJ_FONT);
    const HGDIOBJ hPen = ::GetCurrentObject(hDC, OBJ_PEN);
    const HGDIOBJ hBrush = ::GetCurrentObject(hDC, OBJ_BRUSH);
    const HGDIOBJ hBitmap = ::GetCurrentObject(hDC, OBJ_BITMAP);
    const int nMode = ::GetBkMode(hDC);
    auto drawAll = [&] {
        for (const int nStyle : {0, 1}) {
            CSkinMenu::m_nDrawStyle = nStyle;
            for (const BOOL bDib : {FALSE, TRUE}) {
                m_menu.m_bEmbossByDib = bDib;
                for (const UINT nState : STATES)
                    for (const CSkinMenuData* pRecord : {&text, &separator, &picture})
                        Draw(canvas, *pRecord, nState);
            }
        }
    };
    drawAll();   // first use creates what stays for the process (stock wrappers)
    const auto nBefore = GdiCount::Of(::GetCurrentProcess());
    ASSERT_TRUE(nBefore.has_value());
    drawAll();
    EXPECT_EQ(*nBefore, GdiCount::Of(::GetCurrentProcess()).value());

    EXPECT_EQ(hFont, ::GetCurrentObject(hDC, OBJ_FONT));
    EXPECT_EQ(hPen, ::GetCurrentObject(hDC, OBJ_PEN));
    EXPECT_EQ(hBrush, ::GetCurrentObject(hDC, OBJ_BRUSH));
    EXPECT_EQ(hBitmap, ::GetCurrentObject(hDC, OBJ_BITMAP));
    EXPECT_EQ(nMode, ::GetBkMode(hDC));
}

TEST(SkinMenuMemDC, DrawsInTargetCoordinatesAndCopiesOnlyItsArea)
{
    Canvas canvas(60, 40);
    canvas.DC().FillSolidRect(0, 0, 60, 40, RGB(255, 255, 255));
    {
        CSkinMenuMemDC memDC(&canvas.DC(), CRect(10, 5, 40, 25));
        memDC.FillSolidRect(0, 0, 60, 40, RGB(0, 0, 255));
        memDC.FillSolidRect(12, 7, 2, 2, RGB(255, 0, 0));
        // Nothing reaches the target before the end.
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(20, 10));
    }
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(12, 7));
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(10, 5));
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(39, 24));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(9, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(40, 24));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(10, 25));
}
