// The resources built into Velkor.exe, checked as the program uses them: dialogs
// created from their templates, pictures loaded through the system.
#include "res/TestPictures.h"
#include "res/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace test_pictures;

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog made from one of our templates, destroyed at the end of the test.
class TemplateDialog {
public:
    explicit TemplateDialog(int id)
        : m_hWnd(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                    QuietDialogProc, 0)) {}
    ~TemplateDialog() {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND get() const { return m_hWnd; }
    LONG Style() const { return GetWindowLongA(m_hWnd, GWL_STYLE); }
    LONG ExStyle() const { return GetWindowLongA(m_hWnd, GWL_EXSTYLE); }

    // The children in tab (z) order.
    std::vector<HWND> Children() const {
        std::vector<HWND> children;
        for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        return children;
    }

    // A rectangle in dialog units as pixels of this dialog's client area.
    RECT Pixels(int x, int y, int cx, int cy) const {
        RECT rect{x, y, x + cx, y + cy};
        MapDialogRect(m_hWnd, &rect);
        return rect;
    }

private:
    HWND m_hWnd;
};

std::string ClassOf(HWND hWnd) {
    char name[64] = {};
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

std::string TextOf(HWND hWnd) {
    char text[256] = {};
    GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string ResourceText(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (!found)
        return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(data, SizeofResource(nullptr, found));
}

constexpr LONG FRAME_STYLES = WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME;

}  // namespace

TEST(MainDialogTemplate, IsACaptionlessPopupThatTheBackgroundCovers) {
    TemplateDialog dialog(IDD_MAIN);
    ASSERT_NE(dialog.get(), nullptr);
    EXPECT_EQ(dialog.Style() & (WS_POPUP | WS_SYSMENU), WS_POPUP | WS_SYSMENU);
    EXPECT_EQ(dialog.Style() & FRAME_STYLES, 0);
    EXPECT_TRUE(dialog.ExStyle() & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(dialog.get()));

    // The built-in background (1024 x 769) must cover the window, or it would tile.
    RECT client{};
    GetClientRect(dialog.get(), &client);
    const RECT template_size = dialog.Pixels(0, 0, 679, 471);
    EXPECT_TRUE(SameRect(client, template_size));
    EXPECT_LE(client.right, 1024);
    EXPECT_LE(client.bottom, 769);
}

TEST(MainDialogTemplate, HoldsTheTenButtonsInTabOrderWhereTheSkinExpectsThem) {
    struct Expected {
        int id;
        const char* text;
        int x, y, cx, cy;
        bool visible;
        bool icon;
    };
    const Expected expected[] = {
        {IDOK, "OK", 535, 116, 30, 26, false, true},
        {IDC_ON, "On", 188, 400, 62, 54, true, false},
        {IDC_RAINBOW, "RainBow", 309, 400, 62, 54, true, true},
        {IDC_STATIC_BTN, "Static", 264, 190, 72, 72, false, false},
        {IDC_BREATH, "Breath", 430, 400, 62, 54, true, true},
        {IDC_COLORLOOP, "ColorLoop", 551, 400, 62, 54, true, true},
        {IDCANCEL, "Cancel", 575, 116, 30, 26, false, true},
        {IDC_EXIT, "Exit", 632, 2, 40, 34, true, false},
        {IDC_MIN, "MIN", 587, 2, 40, 34, true, false},
        {IDC_AUTO, "Auto", 67, 400, 62, 54, true, true},
    };
    TemplateDialog dialog(IDD_MAIN);
    ASSERT_NE(dialog.get(), nullptr);
    const std::vector<HWND> children = dialog.Children();
    ASSERT_EQ(children.size(), std::size(expected));

    for (size_t i = 0; i < children.size(); ++i) {
        const Expected& want = expected[i];
        HWND child = children[i];
        SCOPED_TRACE(want.text);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        EXPECT_EQ(ClassOf(child), "Button");
        EXPECT_EQ(TextOf(child), want.text);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_EQ((style & WS_VISIBLE) != 0, want.visible);
        EXPECT_EQ((style & BS_ICON) != 0, want.icon);
        EXPECT_TRUE(SameRect(RectInParent(child), dialog.Pixels(want.x, want.y, want.cx, want.cy)));
    }
    const LRESULT default_id = SendMessageA(dialog.get(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(default_id), DC_HASDEFID);
    EXPECT_EQ(LOWORD(default_id), IDOK);
}

TEST(AboutBoxTemplate, ShowsTheIconAndTextsThatFitTheirPlaces) {
    TemplateDialog dialog(IDD_ABOUTBOX);
    ASSERT_NE(dialog.get(), nullptr);
    EXPECT_EQ(TextOf(dialog.get()), "About Velkor");
    EXPECT_EQ(dialog.Style() & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);

    const std::vector<HWND> children = dialog.Children();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_NE(SendMessageA(children[0], STM_GETICON, 0, 0), 0);
    EXPECT_EQ(TextOf(children[1]), "Velkor, Version 1.0");
    EXPECT_TRUE(GetWindowLongA(children[1], GWL_STYLE) & SS_NOPREFIX);
    EXPECT_EQ(GetDlgCtrlID(children[3]), IDOK);
    EXPECT_TRUE(GetWindowLongA(children[3], GWL_STYLE) & BS_DEFPUSHBUTTON);

    // Static texts clip silently: each line must fit its control in the dialog's font.
    UniqueDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ previous =
        SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0)));
    for (HWND line : {children[1], children[2]}) {
        const std::string text = TextOf(line);
        SIZE extent{};
        GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        RECT rect{};
        GetClientRect(line, &rect);
        EXPECT_FALSE(text.empty());
        EXPECT_LE(extent.cx, rect.right) << text;
    }
    SelectObject(dc.get(), previous);
}

TEST(PowerPopupTemplate, IsFoundOnAnySystemAndStartsHidden) {
    // The template is Chinese (PRC); an English system must still find it.
    EXPECT_NE(FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(IDD_PWR_NOTIFY),
                              MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
              nullptr);
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_PWR_NOTIFY), RT_DIALOG), nullptr);

    TemplateDialog popup(IDD_PWR_NOTIFY);
    ASSERT_NE(popup.get(), nullptr);
    EXPECT_FALSE(IsWindowVisible(popup.get()));
    EXPECT_TRUE(popup.Style() & WS_POPUP);
    EXPECT_EQ(popup.Style() & FRAME_STYLES, 0);

    const std::vector<HWND> children = popup.Children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(GetDlgCtrlID(children[0]), IDC_TEST);
    EXPECT_EQ(ClassOf(children[0]), "Button");
    EXPECT_TRUE(GetWindowLongA(children[0], GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetDlgCtrlID(children[1]), IDC_PWR_TEXT);
    EXPECT_EQ(ClassOf(children[1]), "Static");
    EXPECT_TRUE(GetWindowLongA(children[1], GWL_STYLE) & WS_GROUP);
    for (HWND child : children)
        EXPECT_FALSE(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
    RECT client{};
    GetClientRect(popup.get(), &client);
    EXPECT_TRUE(SameRect(client, popup.Pixels(0, 0, 158, 89)));
}

TEST(BuiltInResources, IconBackgroundStringAndManifest) {
    // The icon group holds one 128 x 128 image with alpha.
    HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
    EXPECT_EQ(*reinterpret_cast<const WORD*>(directory + 4), 1);    // image count
    EXPECT_EQ(*reinterpret_cast<const WORD*>(directory + 6 + 6), 32);  // bits per pixel
    UniqueIcon icon(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 0, 0, 0)));
    ASSERT_NE(icon, nullptr);
    const Pixels drawn = DrawIcon(icon.get(), RGB(255, 255, 255));
    EXPECT_EQ(drawn.width, 128);
    EXPECT_EQ(drawn.height, 128);
    EXPECT_GT(MeanChroma(drawn), 20.0);  // an RGB glow, not a grey shape

    UniqueBitmap background(static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_DEFAULT_BG), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_NE(background, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObject(background.get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmWidth, 1024);
    EXPECT_EQ(section.dsBm.bmHeight, 769);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);

    char about[64] = {};
    EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof(about)), 0);
    EXPECT_STREQ(about, "&About Velkor...");

    // Runs with the starting user's rights and binds no side-by-side assembly.
    const std::string manifest = ResourceText(MAKEINTRESOURCEA(1), RT_MANIFEST);
    EXPECT_NE(manifest.find(R"(level="asInvoker")"), std::string::npos);
    EXPECT_NE(manifest.find(R"(uiAccess="false")"), std::string::npos);
    EXPECT_EQ(manifest.find("<dependency"), std::string::npos);
}
