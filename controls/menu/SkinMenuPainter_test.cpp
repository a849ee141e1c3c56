#include "controls/menu/SkinMenuPainter.h"

#include "controls/menu/SkinMenu.h"
#include "controls/menu/SkinMenuMemDC.h"
#include "controls/menu/SkinMenuTheme.h"
#include "framework/ImageList.h"
#include "tests/support/GdiCount.h"
#include "tests/support/framework/Canvas.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
const int ITEM_WIDTH = 160;
const int ITEM_HEIGHT = 22;
const int MIDDLE = ITEM_HEIGHT / 2;

COLORREF Sys(int nIndex) { return ::GetSysColor(nIndex); }
COLORREF Lighten(double dFactor, int nIndex) { return CSkinMenuTheme::LightenColor(dFactor, Sys(nIndex)); }
COLORREF FlatFace() { return Lighten(0.25, COLOR_BTNFACE); }

// One menu item's canvas.
struct ItemCanvas : Canvas
{
    explicit ItemCanvas(int cx = ITEM_WIDTH) : Canvas(cx, ITEM_HEIGHT, RGB(1, 2, 3)) {}
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
    UINT Draw(Canvas& canvas, const CSkinMenuData& record, UINT nState, int cx = ITEM_WIDTH)
    {
        DRAWITEMSTRUCT request = {ODT_MENU, 0, static_cast<UINT>(record.m_uCommandId), ODA_DRAWENTIRE, nState,
                                  reinterpret_cast<HWND>(m_menu.m_hMenu), canvas.Dc(), CRect(0, 0, cx, ITEM_HEIGHT),
                                  reinterpret_cast<ULONG_PTR>(&record)};
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

TEST_F(SkinMenuPainting, TextStartsBesideThePictureColumnAndFitsTheMeasuredWidthInBothStyles)
{
    const CSkinMenuData& record = Append(L"Open the most recent file", 1);
    for (const int nStyle : {0, 1}) {
        CSkinMenu::m_nDrawStyle = nStyle;
        const int cx = static_cast<int>(Measure(record).first);
        ItemCanvas canvas(cx + 20);
        Draw(canvas, record, 0, cx);
        const CRect rcText = canvas.Bounds(Sys(COLOR_MENUTEXT));
        EXPECT_NEAR(nStyle == 1 ? 32 : 26, rcText.left, 1) << nStyle;
        EXPECT_LE(rcText.right, cx) << nStyle;
    }
    // Flat: the 23-pixel picture column in the face colour, the rest in the window's.
    ItemCanvas flat;
    Draw(flat, record, 0);
    for (int x = 0; x < 23; ++x)
        ASSERT_EQ(FlatFace(), flat.At(x, MIDDLE)) << x;
    EXPECT_EQ(Sys(COLOR_WINDOW), flat.At(23, MIDDLE));
    // Selected, classic: the whole row in the highlight.
    CSkinMenu::m_nDrawStyle = 0;
    ItemCanvas selected;
    Draw(selected, record, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected.At(0, 0));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), selected.At(ITEM_WIDTH - 1, ITEM_HEIGHT - 1));
}

TEST_F(SkinMenuPainting, SeparatorsAndItemsWithoutTextMeasureAndDrawInBothStyles)
{
    const CSkinMenuData& separator = Append(nullptr, 0);
    const CSkinMenuData& empty = Append(nullptr, 5);
    const UINT nMenuHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(std::make_pair(0u, std::max(nMenuHeight / 2, 9u)), Measure(separator));
    EXPECT_EQ(std::make_pair(2u * 16 + 1, std::max(nMenuHeight, 19u)), Measure(empty));
    ItemCanvas classic;
    Draw(classic, separator, 0);
    EXPECT_EQ(Sys(COLOR_MENU), classic.At(5, MIDDLE - 1));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), classic.At(5, MIDDLE));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), classic.At(5, MIDDLE + 1));

    CSkinMenu::m_nDrawStyle = 1;
    EXPECT_EQ(std::make_pair(0u, std::max(nMenuHeight / 2, 11u)), Measure(separator));
    EXPECT_EQ(std::make_pair(16u + 15, std::max(nMenuHeight, 22u)), Measure(empty));
    ItemCanvas flat;
    Draw(flat, separator, 0);
    EXPECT_EQ(FlatFace(), flat.At(5, MIDDLE));
    EXPECT_EQ(Sys(COLOR_WINDOW), flat.At(29, MIDDLE));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), flat.At(30, MIDDLE));
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
    ItemCanvas classic;
    Draw(classic, check, ODS_CHECKED);
    EXPECT_EQ(Sys(COLOR_MENU), classic.At(0, dy + 2));
    EXPECT_EQ(Lighten(0.6, COLOR_MENU), classic.At(16, dy + 16));
    EXPECT_EQ(Sys(COLOR_MENU), classic.At(17, dy + 2));
    EXPECT_EQ(crGlyph, classic.At(1 + 4, dy + 2 + 4 + 2));

    // Flat: a 16 x 16 box 4 pixels in, framed in the highlight colour.
    CSkinMenu::m_nDrawStyle = 1;
    const int nTop = (ITEM_HEIGHT - 16 + 1) / 2;
    ItemCanvas flat;
    Draw(flat, check, ODS_CHECKED);
    EXPECT_EQ(FlatFace(), flat.At(3, nTop));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), flat.At(4, nTop));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), flat.At(19, nTop + 15));
    EXPECT_EQ(Lighten(0.85, COLOR_HIGHLIGHT), flat.At(5, nTop + 1));
    EXPECT_EQ(crGlyph, flat.At(4 + 5 + 6, nTop + 4 + 1));   // last stroke
    // An item with a checked-state bitmap shows a dot instead.
    ItemCanvas dot;
    Draw(dot, radio, ODS_CHECKED);
    EXPECT_EQ(crGlyph, dot.At(4 + 5 + 3, nTop + 4 + 3));
    EXPECT_NE(crGlyph, dot.At(4 + 5 + 6, nTop + 4 + 1));
}

TEST_F(SkinMenuPainting, GrayedSelectedFlatItemIsPaintedUnselectedWithLightenedText)
{
    CSkinMenu::m_nDrawStyle = 1;
    const CSkinMenuData& record = Append(L"Grayed", 1);
    ItemCanvas canvas;
    EXPECT_EQ(0u, Draw(canvas, record, ODS_SELECTED | ODS_GRAYED) & ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_WINDOW), canvas.At(100, 2));
    EXPECT_EQ(FlatFace(), canvas.At(10, 2));
    // In the menu font, as the system has it selected for the other items.
    CFont font;
    CSkinMenuTheme::CreateMenuFont(font);
    ItemCanvas normal;
    const ScopedSelect selectFont(normal.DC(), font);
    Draw(normal, record, 0);
    const CRect rcNormal = normal.Bounds(Sys(COLOR_MENUTEXT));
    EXPECT_EQ(rcNormal, canvas.Bounds(Lighten(0.4, COLOR_GRAYTEXT)));

    // A menu that highlights grayed items shows the selection.
    CSkinMenu::m_bHighlightGrayed = TRUE;
    ItemCanvas highlighted;
    EXPECT_NE(0u, Draw(highlighted, record, ODS_SELECTED | ODS_GRAYED) & ODS_SELECTED);
    EXPECT_EQ(Lighten(0.85, COLOR_HIGHLIGHT), highlighted.At(100, 2));
}

TEST_F(SkinMenuPainting, PicturesShowInTheColumnAreEmbossedWhenGrayedAndAMissingListIsSurvived)
{
    CSkinMenuData& record = AppendPicture();
    // Grayed, classic: embossed with either mask routine at (2, dy + 2).
    const int y = (ITEM_HEIGHT - 15 - 4) / 2 + 2;
    for (const BOOL bDib : {FALSE, TRUE}) {
        m_menu.m_bEmbossByDib = bDib;
        ItemCanvas canvas;
        Draw(canvas, record, ODS_GRAYED);
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.At(2 + 4, y + 4)) << bDib;
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.At(2 + 9, y + 6)) << bDib;
        EXPECT_EQ(Sys(COLOR_MENU), canvas.At(2 + 2, y + 2)) << bDib;
    }

    // Flat and selected: the cell in the selection colour, the picture at (4, dy).
    CSkinMenu::m_nDrawStyle = 1;
    ItemCanvas hot;
    Draw(hot, record, ODS_SELECTED);
    EXPECT_EQ(RGB(0, 0, 0), hot.At(4 + 4, (ITEM_HEIGHT - 15 + 1) / 2 + 4));
    EXPECT_EQ(Lighten(0.85, COLOR_HIGHLIGHT), hot.At(1, 1));

    // An item that claims a picture without a list to take it from still
    // paints its row; the classic style shows a grayed item selected.
    record.m_pImages.reset();
    for (const UINT nState : {0u, UINT(ODS_GRAYED | ODS_SELECTED)}) {
        for (const int nStyle : {0, 1}) {
            CSkinMenu::m_nDrawStyle = nStyle;
            ItemCanvas canvas;
            Draw(canvas, record, nState);
            const int nExpected = nStyle == 1 ? COLOR_WINDOW : (nState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_MENU;
            EXPECT_EQ(Sys(nExpected), canvas.At(100, 2)) << nState << " " << nStyle;
        }
    }
}

TEST_F(SkinMenuPainting, DrawingLeavesNoGdiObjectsAndGivesTheDcBack)
{
    const CSkinMenuData* records[] = {&Append(L"Open\tCtrl+O", 1), &Append(nullptr, 0), &AppendPicture()};
    ItemCanvas canvas;
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
    const auto before = canvas.State();
    drawAll();   // first use creates what stays for the process
    const auto nObjects = GdiCount::Of(::GetCurrentProcess());
    ASSERT_TRUE(nObjects.has_value());
    drawAll();
    EXPECT_EQ(*nObjects, GdiCount::Of(::GetCurrentProcess()).value());
    EXPECT_EQ(before, canvas.State());
}

TEST(SkinMenuMemDC, DrawsInTargetCoordinatesAndCopiesOnlyItsArea)
{
    Canvas canvas(60, 40, RGB(255, 255, 255));
    {
        CSkinMenuMemDC memDC(&canvas.DC(), CRect(10, 5, 40, 25));
        memDC.FillSolidRect(0, 0, 60, 40, RGB(0, 0, 255));
        memDC.FillSolidRect(12, 7, 2, 2, RGB(255, 0, 0));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(20, 10));   // nothing reaches the target before the end
    }
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(12, 7));
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(39, 24));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(9, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(40, 24));
}

TEST(SkinMenuTheme, LightenColorMovesEachChannelTowardsWhite)
{
    const COLORREF crFace = RGB(212, 208, 200);
    EXPECT_EQ(RGB(222, 219, 213), CSkinMenuTheme::LightenColor(0.25, crFace));
    EXPECT_EQ(RGB(255, 255, 255), CSkinMenuTheme::LightenColor(1.0, crFace));
    EXPECT_EQ(crFace, CSkinMenuTheme::LightenColor(1.5, crFace));
    // 0.6 x 255 is 152.99999999999999 exactly but 153.0 in double: each step
    // rounds to double before truncating, on every compiler.
    EXPECT_EQ(RGB(153, 155, 157), CSkinMenuTheme::LightenColor(0.6, RGB(0, 5, 10)));
}
