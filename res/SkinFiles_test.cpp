// The skin folders the build puts beside the program, loaded as the program loads them
// (LoadImageA from the file at its stored size) and judged as a user would see them.
#include "res/TestPictures.h"
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

const char* const POWER_PICTURES[] = {"Perf_P1_Blue.bmp", "Perf_P2_Green.bmp", "Perf_P3_Red.bmp"};

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

// Header fields of an icon file: how many images it holds and the first one's depth.
struct IconFileHeader {
    WORD images = 0;
    WORD bits = 0;
};

IconFileHeader ReadIconHeader(const std::string& path) {
    unsigned char header[6 + 16] = {};
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof(header));
    return {static_cast<WORD>(header[4] | header[5] << 8), static_cast<WORD>(header[12] | header[13] << 8)};
}

WORD BitmapFileDepth(const std::string& path) {
    unsigned char header[30] = {};
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof(header));
    return static_cast<WORD>(header[28] | header[29] << 8);
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

TEST(SkinFiles, BothSkinsHoldExactlyTheFilesTheProgramLoads) {
    const std::set<std::string> expected = {
        "0_BG.bmp",          "01_On_0.ico",        "01_On_1.ico",        "02_Static_0.ico",
        "03_Breath_0.ico",   "03_Breath_1.ico",    "04_ColorLoop_0.ico", "04_ColorLoop_1.ico",
        "05_RainBow_0.ico",  "05_RainBow_1.ico",   "06_Auto_0.ico",      "06_Auto_1.ico",
        "06_Exit.ico",       "07_Min.ico",         "Perf_P1_Blue.bmp",   "Perf_P2_Green.bmp",
        "Perf_P3_Red.bmp"};
    for (const char* skin : SKINS)
        EXPECT_EQ(FilesIn(skin), expected) << skin;
}

TEST(SkinFiles, IconsAreSingle32BitImagesSizedForTheirButtons) {
    for (const char* skin : SKINS) {
        for (const std::string& name : FilesIn(skin)) {
            if (name.ends_with(".bmp"))
                continue;
            SCOPED_TRACE(std::string(skin) + "\\" + name);
            const IconFileHeader header = ReadIconHeader(PathOf(skin, name));
            EXPECT_EQ(header.images, 1);
            EXPECT_EQ(header.bits, 32);

            UniqueIcon icon = LoadIconFile(PathOf(skin, name));
            ASSERT_NE(icon, nullptr);
            const Pixels drawn = DrawIcon(icon.get(), BLACK);
            const int size = name == "06_Exit.ico" || name == "07_Min.ico" ? 40 : 72;
            EXPECT_EQ(drawn.width, size);
            EXPECT_EQ(drawn.height, size);
            // Transparent around the glyph: the corners show the background.
            const RGBQUAD corner = drawn.data.front();
            EXPECT_EQ(RGB(corner.rgbRed, corner.rgbGreen, corner.rgbBlue), BLACK);
        }
    }
}

TEST(SkinFiles, SelectedModeIconsStandOutFromIdleOnes) {
    for (const char* skin : SKINS) {
        for (const char* mode : MODES) {
            SCOPED_TRACE(std::string(skin) + "\\" + mode);
            UniqueIcon idle = LoadIconFile(PathOf(skin, std::string(mode) + "_0.ico"));
            UniqueIcon selected = LoadIconFile(PathOf(skin, std::string(mode) + "_1.ico"));
            ASSERT_NE(idle, nullptr);
            ASSERT_NE(selected, nullptr);
            const Pixels idle_pixels = DrawIcon(idle.get(), BLACK);
            const Pixels selected_pixels = DrawIcon(selected.get(), BLACK);
            // Idle is a grey outline, selected is lit in colour.
            EXPECT_LT(MeanChroma(idle_pixels), 5.0);
            EXPECT_GT(MeanChroma(selected_pixels), 4 * MeanChroma(idle_pixels) + 8.0);
            const Colour dim = MeanColour(idle_pixels);
            const Colour lit = MeanColour(selected_pixels);
            EXPECT_GT(lit.r + lit.g + lit.b, 1.5 * (dim.r + dim.g + dim.b));
        }
    }
}

TEST(SkinFiles, BitmapsAre24BitAndCoverTheirWindows) {
    for (const char* skin : SKINS) {
        SCOPED_TRACE(skin);
        EXPECT_EQ(BitmapFileDepth(PathOf(skin, "0_BG.bmp")), 24);
        const Pixels background = LoadBitmapFile(PathOf(skin, "0_BG.bmp"));
        // Larger than the main window in either language, so it never tiles.
        EXPECT_GE(background.width, 1024);
        EXPECT_GE(background.height, 769);

        // The popup takes the level-1 picture's size; the others must match it.
        const Pixels level1 = LoadBitmapFile(PathOf(skin, POWER_PICTURES[0]));
        EXPECT_GE(level1.width, 160);
        EXPECT_GE(level1.height, 80);
        for (const char* name : POWER_PICTURES) {
            EXPECT_EQ(BitmapFileDepth(PathOf(skin, name)), 24) << name;
            const Pixels picture = LoadBitmapFile(PathOf(skin, name));
            EXPECT_EQ(picture.width, level1.width) << name;
            EXPECT_EQ(picture.height, level1.height) << name;
        }
    }
}

TEST(SkinFiles, PowerPicturesReadBlueGreenRedAtAGlance) {
    for (const char* skin : SKINS) {
        SCOPED_TRACE(skin);
        const Colour blue = MeanColour(LoadBitmapFile(PathOf(skin, "Perf_P1_Blue.bmp")));
        const Colour green = MeanColour(LoadBitmapFile(PathOf(skin, "Perf_P2_Green.bmp")));
        const Colour red = MeanColour(LoadBitmapFile(PathOf(skin, "Perf_P3_Red.bmp")));
        EXPECT_GT(blue.b, 1.5 * std::max(blue.r, blue.g));
        EXPECT_GT(green.g, 1.5 * std::max(green.r, green.b));
        EXPECT_GT(red.r, 1.5 * std::max(red.g, red.b));
    }
}

TEST(SkinFiles, SkinBackgroundsAreDarkAndUnlikeTheBuiltInOne) {
    UniqueBitmap built_in(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_DEFAULT_BG), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_NE(built_in, nullptr);
    const Pixels fallback = ReadPixels(built_in.get());
    for (const char* skin : SKINS) {
        SCOPED_TRACE(skin);
        const Pixels background = LoadBitmapFile(PathOf(skin, "0_BG.bmp"));
        const Colour mean = MeanColour(background);
        EXPECT_LT((mean.r + mean.g + mean.b) / 3, 60.0);
        // Someone looking at the window can tell which of the two is shown.
        EXPECT_GT(MeanDifference(background, fallback), 8.0);
    }
}
