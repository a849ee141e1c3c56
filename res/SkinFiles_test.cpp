// The skin folders the build puts beside the program, loaded as the program loads them
// (LoadImageA from the file at its stored size) and judged as a user would see them.
#include "tests/support/res/TestPictures.h"
#include "res/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>

using namespace test_pictures;

namespace {

const char* const SKINS[] = {"skin_EN", "skin_CN"};

const char* const MODES[] = {"01_On", "03_Breath", "04_ColorLoop", "05_RainBow", "06_Auto"};

// The skin folders lie beside the test program, as they lie beside Velkor.exe.
std::string PathOf(const std::string& skin, const std::string& file) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module);
    folder.erase(folder.find_last_of('\\'));
    return folder + "\\" + skin + "\\" + file;
}

std::set<std::string> FilesIn(const std::string& skin) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(PathOf(skin, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A little-endian 16-bit field of a file's header.
WORD HeaderWord(const std::string& path, int offset) {
    unsigned char header[32] = {};
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof(header));
    return static_cast<WORD>(header[offset] | header[offset + 1] << 8);
}

UniqueIcon LoadIconFile(const std::string& path) {
    return UniqueIcon(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
}

Pixels LoadBitmapFile(const std::string& path) {
    UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    return bitmap ? ReadPixels(bitmap.get()) : Pixels{};
}

// Icons are judged drawn on black: no colour of their own shows through.
constexpr COLORREF BLACK = RGB(0, 0, 0);

}  // namespace

TEST(SkinFiles, BothSkinsHoldExactlyTheFilesTheProgramLoadsAndEveryOneLoads)
{
    const std::set<std::string> expected = {
        "0_BG.bmp",          "01_On_0.ico",        "01_On_1.ico",        "02_Static_0.ico",
        "03_Breath_0.ico",   "03_Breath_1.ico",    "04_ColorLoop_0.ico", "04_ColorLoop_1.ico",
        "05_RainBow_0.ico",  "05_RainBow_1.ico",   "06_Auto_0.ico",      "06_Auto_1.ico",
        "06_Exit.ico",       "07_Min.ico",         "Perf_P1_Blue.bmp",   "Perf_P2_Green.bmp",
        "Perf_P3_Red.bmp"};
    for (const char* skin : SKINS) {
        EXPECT_EQ(FilesIn(skin), expected) << skin;
        for (const std::string& name : expected) {
            SCOPED_TRACE(std::string(skin) + "\\" + name);
            if (name.ends_with(".bmp")) {
                EXPECT_EQ(HeaderWord(PathOf(skin, name), 28), 24);  // bits per pixel
                EXPECT_GT(LoadBitmapFile(PathOf(skin, name)).width, 0);
                continue;
            }
            EXPECT_EQ(HeaderWord(PathOf(skin, name), 4), 1);    // image count
            EXPECT_EQ(HeaderWord(PathOf(skin, name), 12), 32);  // bits per pixel
            UniqueIcon icon = LoadIconFile(PathOf(skin, name));
            ASSERT_NE(icon, nullptr);
            // Transparent around the glyph: the corners show the background.
            const RGBQUAD corner = DrawIcon(icon.get(), BLACK).data.front();
            EXPECT_EQ(RGB(corner.rgbRed, corner.rgbGreen, corner.rgbBlue), BLACK);
        }
    }
}

TEST(SkinFiles, SelectedModeIconsStandOutFromIdleOnes)
{
    for (const char* skin : SKINS) {
        for (const char* mode : MODES) {
            SCOPED_TRACE(std::string(skin) + "\\" + mode);
            UniqueIcon idle = LoadIconFile(PathOf(skin, std::string(mode) + "_0.ico"));
            UniqueIcon selected = LoadIconFile(PathOf(skin, std::string(mode) + "_1.ico"));
            ASSERT_TRUE(idle && selected);
            const Pixels idle_pixels = DrawIcon(idle.get(), BLACK);
            const Pixels selected_pixels = DrawIcon(selected.get(), BLACK);
            // Idle is a grey outline, selected is lit in colour.
            EXPECT_GT(MeanChroma(selected_pixels), 4 * MeanChroma(idle_pixels) + 8.0);
            EXPECT_GT(MeanDifference(idle_pixels, selected_pixels), 8.0);
        }
    }
}

TEST(SkinFiles, BackgroundCoversTheWindowAndPowerPicturesReadBlueGreenRedAtOneSize)
{
    UniqueBitmap built_in(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_DEFAULT_BG), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_NE(built_in, nullptr);
    for (const char* skin : SKINS) {
        SCOPED_TRACE(skin);
        const Pixels background = LoadBitmapFile(PathOf(skin, "0_BG.bmp"));
        // Larger than the main window, so it never tiles, and unlike the built-in
        // picture, so a user can tell which of the two is shown.
        EXPECT_GE(background.width, 1024);
        EXPECT_GE(background.height, 769);
        EXPECT_GT(MeanDifference(background, ReadPixels(built_in.get())), 8.0);

        // The popup takes the level-1 picture's size; the others must match it.
        const Pixels blue = LoadBitmapFile(PathOf(skin, "Perf_P1_Blue.bmp"));
        const Pixels green = LoadBitmapFile(PathOf(skin, "Perf_P2_Green.bmp"));
        const Pixels red = LoadBitmapFile(PathOf(skin, "Perf_P3_Red.bmp"));
        for (const Pixels* picture : {&green, &red}) {
            EXPECT_EQ(picture->width, blue.width);
            EXPECT_EQ(picture->height, blue.height);
        }
        const Colour b = MeanColour(blue), g = MeanColour(green), r = MeanColour(red);
        EXPECT_GT(b.b, 1.5 * std::max(b.r, b.g));
        EXPECT_GT(g.g, 1.5 * std::max(g.r, g.b));
        EXPECT_GT(r.r, 1.5 * std::max(r.g, r.b));
    }
}
