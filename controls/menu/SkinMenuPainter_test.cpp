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
const int MIDDLE = ITEM_HEIGHT / 2;

COLORREF Sys(int nIndex)
{
    return ::GetSysColor(nIndex);
}

COLORREF FlatFace()
{
    return CSkinMenuTheme::LightenColor(0.25, Sys(COLOR_BTNFACE));
}

// A 32-bit memory DC the size of one menu item, to paint items into and
// read their pixels back.
class Canvas
{
public:
    Canvas(int cx = ITEM_WIDTH, int cy = ITEM_HEIGHT)
    {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.Attach(::CreateBitmap(cx, cy, 1, 32, nullptr));
        m_pSelect = std::make_unique<ScopedSelect>(m_dc, m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, RGB(1, 2, 3));
    }

    CDC& DC() { return m_dc; }
    COLORREF Pixel(int x, int y) const { return m_dc.GetPixel(x, y); }

    // The first column from x on that differs from crBack in any inner row (-1: none).
    int FirstDifferent(int x, COLORREF crBack) const
    {
        for (; x < ITEM_WIDTH; ++x)
            for (int y = 1; y < ITEM_HEIGHT - 1; ++y)
                if (Pixel(x, y) != crBack)
                    return x;
        return -1;
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

    // An item whose picture is a black 5 x 5 square at (4, 4) of a 16 x 15
    // picture on the button face.
    CSkinMenuData& AppendPicture()
    {
        CSkinMenuData& record = Append(L"Picture", 1);
        record.m_nImageState = 0;
        record.m_nImage = 0;
        record.m_pImages = std::make_unique<CImageList>();
        record.m_pImages->Create(16, 15, ILC_COLOR24 | ILC_MASK, 1, 1);
        CBitmap picture;
        picture.Attach(::CreateBitmap(16, 15, 1, 32, nullptr));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        {
            const ScopedSelect select(dc, picture);
            dc.FillSolidRect(0, 0, 16, 15, Sys(COLOR_BTNFACE));
            dc.FillSolidRect(4, 4, 5, 5, RGB(0, 0, 0));
        }
        EXPECT_EQ(0, record.m_pImages->Add(&picture, RGB(255, 0, 255)));
        return record;
    }

    // Paints the item into the canvas; answers the state the painter left in the request.
    UINT Draw(Canvas& canvas, const CSkinMenuData& record, UINT nState)
    {
        DRAWITEMSTRUCT request = {ODT_MENU, 0, static_cast<UINT>(record.m_uCommandId), ODA_DRAWENTIRE, nState,
                                  reinterpret_cast<HWND>(m_menu.m_hMenu), canvas.DC(),
                                  CRect(0, 0, ITEM_WIDTH, ITEM_HEIGHT), reinterpret_cast<ULONG_PTR>(&record)};
        m_menu.DrawItem(&request);
        return request.itemState;
    }

    // Width and height the menu asks for the item.
    std::pair<UINT, UINT> Measure(const CSkinMenuData& record)
    {
        MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(&record)};
        m_menu.MeasureItem(&measure);
        return {measure.itemWidth, measure.itemHeight};
    }

    CSkinMenu m_menu;
};
}

TEST_F(SkinMenuPainting, TextStartsAt31BesideThe23PixelFlatColumnAndAt25InClassic)
{
    CSkinMenuData& record = Append(L"WWW", 1);
    Canvas classic;
    Draw(classic, record, 0);
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(0, MIDDLE));
    EXPECT_GE(classic.FirstDifferent(0, Sys(COLOR_MENU)), 25);
    EXPECT_LE(classic.FirstDifferent(0, Sys(COLOR_MENU)), 27);
    // Selected: the whole row in the highlight.
    Canvas selected;
    Draw(selected, record, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected.Pixel(0, 0));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected.Pixel(ITEM_WIDTH - 1, ITEM_HEIGHT - 1));

    CSkinMenu::m_nDrawStyle = 1;
    Canvas flat;
    Draw(flat, record, 0);
    for (int x = 0; x < 23; ++x)
        ASSERT_EQ(FlatFace(), flat.Pixel(x, MIDDLE)) << x;
    EXPECT_EQ(Sys(COLOR_WINDOW), flat.Pixel(23, MIDDLE));
    EXPECT_GE(flat.FirstDifferent(23, Sys(COLOR_WINDOW)), 31);
    EXPECT_LE(flat.FirstDifferent(23, Sys(COLOR_WINDOW)), 33);
}

TEST_F(SkinMenuPainting, SeparatorsAndItemsWithoutTextMeasureAndDrawInBothStyles)
{
    const CSkinMenuData& separator = Append(nullptr, 0);
    const CSkinMenuData& empty = Append(nullptr, 5);
    const CSkinMenuData& text = Append(L"Some text", 6);
    const UINT nMenuHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(std::make_pair(0u, std::max(nMenuHeight / 2, 9u)), Measure(separator));
    EXPECT_EQ(std::make_pair(2u * 16 + 1, std::max(nMenuHeight, 19u)), Measure(empty));
    Canvas classic;
    Draw(classic, separator, 0);
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(5, MIDDLE - 1));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), classic.Pixel(5, MIDDLE));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), classic.Pixel(5, MIDDLE + 1));

    CSkinMenu::m_nDrawStyle = 1;
    EXPECT_EQ(std::make_pair(0u, std::max(nMenuHeight / 2, 11u)), Measure(separator));
    EXPECT_EQ(std::make_pair(16u + 15, std::max(nMenuHeight, 22u)), Measure(empty));
    EXPECT_GT(Measure(text).first, 16u + 15 + 20);
    Canvas flat;
    Draw(flat, separator, 0);
    EXPECT_EQ(FlatFace(), flat.Pixel(5, MIDDLE));
    EXPECT_EQ(Sys(COLOR_WINDOW), flat.Pixel(29, MIDDLE));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), flat.Pixel(30, MIDDLE));
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
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(expected.count({x, y}) ? RGB(0, 0, 0) : RGB(255, 255, 255), canvas.Pixel(x, y)) << x << "," << y;
}

TEST_F(SkinMenuPainting, CheckedItemsGetABoxWithAGlyphOrADot)
{
    const CSkinMenuData& check = Append(L"Check", 1);
    const CSkinMenuData& radio = Append(L"Radio", 2);
    CBitmap mark;
    mark.CreateBitmap(8, 8, 1, 1, nullptr);
    ASSERT_TRUE(::SetMenuItemBitmaps(m_menu.m_hMenu, 2, MF_BYCOMMAND, nullptr, mark));
    const COLORREF crGlyph = Sys(COLOR_MENUTEXT);

    // Classic: a 16 x 15 box one pixel in, without a sunken border.
    const int dy = (ITEM_HEIGHT - 15 - 4) / 2;
    Canvas classic;
    Draw(classic, check, ODS_CHECKED);
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(0, dy + 2));
    EXPECT_EQ(CSkinMenuTheme::LightenColor(0.6, Sys(COLOR_MENU)), classic.Pixel(16, dy + 16));
    EXPECT_EQ(Sys(COLOR_MENU), classic.Pixel(17, dy + 2));
    EXPECT_EQ(crGlyph, classic.Pixel(1 + 4, dy + 2 + 4 + 2));

    // Flat: a 16 x 16 box 4 pixels in, framed in the highlight colour.
    CSkinMenu::m_nDrawStyle = 1;
    const int nTop = (ITEM_HEIGHT - 16 + 1) / 2;
    Canvas flat;
    Draw(flat, check, ODS_CHECKED);
    EXPECT_EQ(FlatFace(), flat.Pixel(3, nTop));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), flat.Pixel(4, nTop));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), flat.Pixel(19, nTop + 15));
    EXPECT_EQ(CSkinMenuTheme::LightenColor(0.85, Sys(COLOR_HIGHLIGHT)), flat.Pixel(5, nTop + 1));
    EXPECT_EQ(crGlyph, flat.Pixel(4 + 5 + 6, nTop + 4 + 1));   // last stroke
    // An item with a checked-state bitmap shows a dot instead.
    Canvas dot;
    Draw(dot, radio, ODS_CHECKED);
    EXPECT_EQ(crGlyph, dot.Pixel(4 + 5 + 3, nTop + 4 + 3));
    EXPECT_NE(crGlyph, dot.Pixel(4 + 5 + 6, nTop + 4 + 1));
}

TEST_F(SkinMenuPainting, GrayedSelectedFlatItemIsPaintedUnselectedWithLightenedText)
{
    CSkinMenu::m_nDrawStyle = 1;
    const CSkinMenuData& record = Append(L"Grayed", 1);
    Canvas canvas;
    EXPECT_EQ(0u, Draw(canvas, record, ODS_SELECTED | ODS_GRAYED) & ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_WINDOW), canvas.Pixel(100, 2));
    EXPECT_EQ(FlatFace(), canvas.Pixel(10, 2));
    const COLORREF crText = CSkinMenuTheme::LightenColor(0.4, Sys(COLOR_GRAYTEXT));
    bool bTextSeen = false;
    for (int y = 0; y < ITEM_HEIGHT; ++y)
        for (int x = 31; x < 90; ++x)
            bTextSeen = bTextSeen || canvas.Pixel(x, y) == crText;
    EXPECT_TRUE(bTextSeen);

    // A menu that highlights grayed items shows the selection.
    CSkinMenu::m_bHighlightGrayed = TRUE;
    Canvas highlighted;
    EXPECT_NE(0u, Draw(highlighted, record, ODS_SELECTED | ODS_GRAYED) & ODS_SELECTED);
    EXPECT_EQ(CSkinMenuTheme::LightenColor(0.85, Sys(COLOR_HIGHLIGHT)), highlighted.Pixel(100, 2));
}

TEST_F(SkinMenuPainting, PicturesShowInTheColumnAreEmbossedWhenGrayedAndAMissingListIsSurvived)
{
    CSkinMenuData& record = AppendPicture();
    // Grayed, classic: embossed with either mask routine at (2, dy + 2).
    const int y = (ITEM_HEIGHT - 15 - 4) / 2 + 2;
    for (const BOOL bDib : {FALSE, TRUE}) {
        m_menu.m_bEmbossByDib = bDib;
        Canvas canvas;
        Draw(canvas, record, ODS_GRAYED);
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.Pixel(2 + 4, y + 4)) << bDib;
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.Pixel(2 + 9, y + 6)) << bDib;
        EXPECT_EQ(Sys(COLOR_MENU), canvas.Pixel(2 + 2, y + 2)) << bDib;
    }

    // Flat and selected: the cell in the selection colour, the picture at (4, dy).
    CSkinMenu::m_nDrawStyle = 1;
    Canvas hot;
    Draw(hot, record, ODS_SELECTED);
    EXPECT_EQ(RGB(0, 0, 0), hot.Pixel(4 + 4, (ITEM_HEIGHT - 15 + 1) / 2 + 4));
    EXPECT_EQ(CSkinMenuTheme::LightenColor(0.85, Sys(COLOR_HIGHLIGHT)), hot.Pixel(1, 1));

    // An item that claims a picture without a list to take it from; the
    // classic style shows a grayed item selected.
    record.m_pImages.reset();
    for (const UINT nState : {0u, UINT(ODS_GRAYED | ODS_SELECTED), UINT(ODS_GRAYED | ODS_CHECKED)}) {
        CSkinMenu::m_nDrawStyle = 1;
        Canvas flat;
        Draw(flat, record, nState);
        EXPECT_EQ(Sys(COLOR_WINDOW), flat.Pixel(100, 2)) << nState;
        CSkinMenu::m_nDrawStyle = 0;
        Canvas classic;
        Draw(classic, record, nState);
        EXPECT_EQ(Sys((nState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_MENU), classic.Pixel(100, 2)) << nState;
    }
}

// Every release after XP has code OS_NT_OTHER, which ranks below OS_WIN95.
TEST_F(SkinMenuPainting, CurrentSystemsMeasureInTheMenuFontAndFrameHotAndCheckedPictures)
{
    const int nSavedVersion = CSkinMenu::m_nOsVersion;
    CSkinMenu::m_nOsVersion = CSkinMenuTheme::OS_NT_OTHER;
    const wchar_t LABEL[] = L"A label long enough to tell two fonts apart";
    const CSkinMenuData& text = Append(LABEL, 7);
    CFont font;
    CSkinMenuTheme::CreateMenuFont(font);
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    const ScopedSelect selectFont(screen, font);
    const UINT cxLabel = static_cast<UINT>(screen.GetTextExtentW(LABEL, static_cast<int>(wcslen(LABEL))).cx);
    EXPECT_EQ(cxLabel + 2 * 16 + 1, Measure(text).first);

    // The picture's outer frame (0, 1)-(20, 20): raised when hot, sunken when also checked.
    const CSkinMenuData& picture = AppendPicture();
    Canvas hot;
    Draw(hot, picture, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), hot.Pixel(0, 1));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), hot.Pixel(19, 19));
    Canvas checked;
    Draw(checked, picture, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), checked.Pixel(0, 1));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), checked.Pixel(19, 19));
    CSkinMenu::m_nOsVersion = nSavedVersion;
}

TEST_F(SkinMenuPainting, DrawingLeavesNoGdiObjectsAndRestoresTheDc)
{
    const CSkinMenuData* records[] = {&Append(L"Open\tCtrl+O", 1), &Append(nullptr, 0), &AppendPicture()};
    Canvas canvas;
    HDC hDC = canvas.DC();
    const auto dcState = [hDC] {
        return std::vector<DWORD_PTR>{reinterpret_cast<DWORD_PTR>(::GetCurrentObject(hDC, OBJ_FONT)),
                                      reinterpret_cast<DWORD_PTR>(::GetCurrentObject(hDC, OBJ_PEN)),
                                      reinterpret_cast<DWORD_PTR>(::GetCurrentObject(hDC, OBJ_BRUSH)),
                                      reinterpret_cast<DWORD_PTR>(::GetCurrentObject(hDC, OBJ_BITMAP)),
                                      static_cast<DWORD_PTR>(::GetBkMode(hDC))};
    };
    const auto drawAll = [&] {
        for (const int nStyle : {0, 1})
            for (const BOOL bDib : {FALSE, TRUE})
                for (const UINT nState : {0, ODS_SELECTED, ODS_GRAYED, ODS_GRAYED | ODS_SELECTED, ODS_CHECKED,
                                          ODS_CHECKED | ODS_SELECTED})
                    for (const CSkinMenuData* pRecord : records) {
                        CSkinMenu::m_nDrawStyle = nStyle;
                        m_menu.m_bEmbossByDib = bDib;
                        Draw(canvas, *pRecord, nState);
                    }
    };
    const auto before = dcState();
    drawAll();   // first use creates what stays for the process
    const auto nObjects = GdiCount::Of(::GetCurrentProcess());
    ASSERT_TRUE(nObjects.has_value());
    drawAll();
    EXPECT_EQ(*nObjects, GdiCount::Of(::GetCurrentProcess()).value());
    EXPECT_EQ(before, dcState());
}

TEST(SkinMenuMemDC, DrawsInTargetCoordinatesAndCopiesOnlyItsArea)
{
    Canvas canvas(60, 40);
    canvas.DC().FillSolidRect(0, 0, 60, 40, RGB(255, 255, 255));
    {
        CSkinMenuMemDC memDC(&canvas.DC(), CRect(10, 5, 40, 25));
        memDC.FillSolidRect(0, 0, 60, 40, RGB(0, 0, 255));
        memDC.FillSolidRect(12, 7, 2, 2, RGB(255, 0, 0));
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(20, 10));   // nothing reaches the target before the end
    }
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(12, 7));
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(39, 24));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(9, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(40, 24));
}
