#include "controls/menu/SkinMenuPainter.h"

#include "controls/menu/SkinMenu.h"
#include "controls/menu/SkinMenuTheme.h"
#include "framework/ImageList.h"
#include "tests/support/framework/Canvas.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
    const int ITEM_WIDTH = 160;
    const int ITEM_HEIGHT = 22;

    COLORREF Sys(int nIndex)
    {
        return ::GetSysColor(nIndex);
    }
    COLORREF Lighten(double dFactor, int nIndex)
    {
        return CSkinMenuTheme::LightenColor(dFactor, Sys(nIndex));
    }
    COLORREF FlatFace()
    {
        return Lighten(0.25, COLOR_BTNFACE);
    }

    // One menu item's canvas.
    struct ItemCanvas : Canvas
    {
        ItemCanvas()
            : Canvas(ITEM_WIDTH, ITEM_HEIGHT, RGB(1, 2, 3))
        {}
    };

    // Adds a 16 x 15 picture to a list: a 5 x 5 square of crSquare at (4, 4)
    // on the button face.
    int AddSquarePicture(CImageList& images, COLORREF crSquare)
    {
        CBitmap picture;
        picture.Attach(::CreateBitmap(16, 15, 1, 32, nullptr));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        {
            const ScopedSelect select(dc, picture);
            dc.FillSolidRect(0, 0, 16, 15, Sys(COLOR_BTNFACE));
            dc.FillSolidRect(4, 4, 5, 5, crSquare);
        }
        return images.Add(&picture, RGB(255, 0, 255));
    }

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
            EXPECT_EQ(0, AddSquarePicture(*record.m_pImages, RGB(0, 0, 0)));
            return record;
        }

        // Paints the item into the canvas; answers the state the painter left in the request.
        UINT Draw(Canvas& canvas, const CSkinMenuData& record, UINT nState)
        {
            DRAWITEMSTRUCT request = {
                ODT_MENU,
                0,
                static_cast<UINT>(record.m_uCommandId),
                ODA_DRAWENTIRE,
                nState,
                reinterpret_cast<HWND>(m_menu.m_hMenu),
                canvas.Dc(),
                CRect(0, 0, ITEM_WIDTH, ITEM_HEIGHT),
                reinterpret_cast<ULONG_PTR>(&record)};
            m_menu.DrawItem(&request);
            return request.itemState;
        }

        CSkinMenu m_menu;
    };
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

TEST_F(SkinMenuPainting, ColumnPicturesEmbossWhenGrayedAndSurviveAMissingList)
{
    CSkinMenuData& record = AppendPicture();
    // Grayed, classic: embossed with either mask routine at (2, dy + 2).
    const int y = (ITEM_HEIGHT - 15 - 4) / 2 + 2;
    for (const BOOL bDib : {FALSE, TRUE})
    {
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
    for (const UINT nState : {0u, UINT(ODS_GRAYED | ODS_SELECTED)})
    {
        for (const int nStyle : {0, 1})
        {
            CSkinMenu::m_nDrawStyle = nStyle;
            ItemCanvas canvas;
            Draw(canvas, record, nState);
            const int nExpected = nStyle == 1 ? COLOR_WINDOW : (nState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_MENU;
            EXPECT_EQ(Sys(nExpected), canvas.At(100, 2)) << nState << " " << nStyle;
        }
    }
}

// Every release after XP has code OS_NT_OTHER, which ranks below OS_WIN95.
TEST_F(SkinMenuPainting, CurrentSystemsMeasureInMenuFontAndFramePictures)
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
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(&text)};
    m_menu.MeasureItem(&measure);
    EXPECT_EQ(cxLabel + 2 * 16 + 1, measure.itemWidth);

    // The picture's outer frame (0, 1)-(20, 20): raised when hot, sunken when also checked.
    const CSkinMenuData& picture = AppendPicture();
    ItemCanvas hot;
    Draw(hot, picture, ODS_SELECTED);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), hot.At(0, 1));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), hot.At(19, 19));
    ItemCanvas checked;
    Draw(checked, picture, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), checked.At(0, 1));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), checked.At(19, 19));
    CSkinMenu::m_nOsVersion = nSavedVersion;
}

// The only test that sees an unchecked item of a menu with check pictures
// lent to it: it shows no check picture, in either style, selected or not.
TEST_F(SkinMenuPainting, LentCheckPicturesShowOnCheckedItemsOnly)
{
    const COLORREF UNSELECTED = RGB(200, 40, 40);
    const COLORREF SELECTED = RGB(40, 40, 200);
    CImageList pictures;
    ASSERT_TRUE(pictures.Create(16, 15, ILC_COLOR24 | ILC_MASK, 2, 0));
    ASSERT_EQ(0, AddSquarePicture(pictures, UNSELECTED));
    ASSERT_EQ(1, AddSquarePicture(pictures, SELECTED));
    m_menu.LendCheckImages(pictures);
    m_menu.m_nCheckImageNormal = 1;
    m_menu.m_nCheckImageSelected = 1;
    const CSkinMenuData& record = Append(L"Toggle", 1);

    for (const int nStyle : {0, 1})
    {
        CSkinMenu::m_nDrawStyle = nStyle;
        for (const UINT nSelected : {0u, UINT(ODS_SELECTED)})
        {
            const COLORREF crShown = nSelected != 0 ? SELECTED : UNSELECTED;
            ItemCanvas checked;
            Draw(checked, record, nSelected | ODS_CHECKED);
            EXPECT_EQ(CSize(5, 5), checked.Bounds(crShown).Size()) << nStyle << " " << nSelected;
            ItemCanvas unchecked;
            Draw(unchecked, record, nSelected);
            EXPECT_TRUE(unchecked.Bounds(UNSELECTED).IsRectEmpty()) << nStyle << " " << nSelected;
            EXPECT_TRUE(unchecked.Bounds(SELECTED).IsRectEmpty()) << nStyle << " " << nSelected;
        }
    }
}
