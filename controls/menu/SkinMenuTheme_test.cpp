#include "controls/menu/SkinMenuTheme.h"

#include "controls/menu/SkinMenuData.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const char THEME_KEY[] = "Software\\Microsoft\\Plus!\\Themes\\Current";

// Writes the current theme value for one test and removes it afterwards.
class ThemeValue : public ::testing::Test
{
protected:
    void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, THEME_KEY); }

    static void Write(const void* pData, DWORD cbData, DWORD dwType = REG_SZ)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, THEME_KEY, 0, nullptr, 0, KEY_WRITE,
                                                   nullptr, &hKey, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(hKey, nullptr, 0, dwType, static_cast<const BYTE*>(pData), cbData));
        ::RegCloseKey(hKey);
    }

    static void Write(const std::string& strValue)
    {
        Write(strValue.c_str(), static_cast<DWORD>(strValue.size() + 1));
    }
};
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

TEST_F(ThemeValue, ClassicThemeIsTheFileNameAtTheEndOfTheValue)
{
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme()) << "no key";
    const std::pair<const char*, bool> values[] = {
        {"C:\\WINDOWS\\Resources\\Themes\\windows classic.theme", true}, {"Classic.theme", false},
        {"C:\\WINDOWS\\Resources\\Themes\\Luna.theme", false},       {"Windows Classic.theme.bak", false}};
    for (const auto& [pszValue, bClassic] : values) {
        Write(pszValue);
        EXPECT_EQ(bClassic, bool(CSkinMenuTheme::ReadClassicTheme())) << pszValue;
    }
    // A value stored without its terminator, as long as the buffer allows,
    // still ends in the file name; a longer one is unreadable, so not classic.
    std::string strFull(MAX_PATH - 1, 'x');
    strFull.replace(strFull.size() - 21, 21, "Windows Classic.theme");
    Write(strFull.data(), static_cast<DWORD>(strFull.size()));
    EXPECT_TRUE(CSkinMenuTheme::ReadClassicTheme());
    Write(std::string(MAX_PATH + 10, 'x') + "Windows Classic.theme");
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme());
}

TEST(SkinMenuData, TextIsAPrivateCopyConvertedThroughTheAnsiCodePage)
{
    CSkinMenuData record;
    wchar_t szText[] = L"Caf\x00e9";
    record.SetTextW(szText);
    szText[0] = L'X';
    EXPECT_STREQ(L"Caf\x00e9", record.GetTextW());
    EXPECT_EQ("Caf\xe9", record.GetTextA());   // code page 1252
    record.SetTextA("E&xit\tAlt+F4");
    EXPECT_STREQ(L"E&xit\tAlt+F4", record.GetTextW());
}
