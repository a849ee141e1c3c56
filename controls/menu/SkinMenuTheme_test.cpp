#include "controls/menu/SkinMenuTheme.h"

#include "controls/menu/SkinMenuData.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const char THEME_KEY[] = "Software\\Microsoft\\Plus!\\Themes\\Current";

OSVERSIONINFOA Version(DWORD dwMajor, DWORD dwMinor)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = dwMajor;
    info.dwMinorVersion = dwMinor;
    return info;
}

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
    EXPECT_EQ(crFace, CSkinMenuTheme::LightenColor(0.0, crFace));
    EXPECT_EQ(crFace, CSkinMenuTheme::LightenColor(1.5, crFace));
    EXPECT_EQ(crFace, CSkinMenuTheme::LightenColor(-0.5, crFace));
    EXPECT_EQ(RGB(255, 255, 255), CSkinMenuTheme::LightenColor(1.0, crFace));
    EXPECT_EQ(RGB(222, 219, 213), CSkinMenuTheme::LightenColor(0.25, crFace));
    // 0.6 x 255 is 152.99999999999999 exactly but 153.0 in double: each step
    // rounds to double before truncating, on every compiler.
    EXPECT_EQ(RGB(153, 155, 157), CSkinMenuTheme::LightenColor(0.6, RGB(0, 5, 10)));
    EXPECT_EQ(RGB(252, 252, 252), CSkinMenuTheme::LightenColor(0.7, RGB(245, 245, 245)));
    // The top byte is always clear.
    EXPECT_EQ(RGB(255, 255, 255), CSkinMenuTheme::LightenColor(1.0, 0x01000000 | RGB(1, 2, 3)));
}

TEST(SkinMenuTheme, VersionCodesFollowThePlatformFamily)
{
    const DWORD NT = 0x00000006;       // top bit clear
    const DWORD WIN9X = 0x80000004;    // top bit set, major 4
    const DWORD WIN32S = 0x80000003;   // top bit set, major 3

    OSVERSIONINFOA info = Version(3, 10);
    EXPECT_EQ(CSkinMenuTheme::OS_WIN32S, CSkinMenuTheme::VersionCodeFor(WIN32S, &info));
    EXPECT_EQ(CSkinMenuTheme::OS_WIN32S, CSkinMenuTheme::VersionCodeFor(WIN32S, nullptr));

    struct Case
    {
        DWORD dwVersion, dwMajor, dwMinor;
        int nCode;
    };
    const Case cases[] = {
        {WIN9X, 4, 0, CSkinMenuTheme::OS_WIN95},   {WIN9X, 4, 10, CSkinMenuTheme::OS_WIN98},
        {WIN9X, 4, 90, CSkinMenuTheme::OS_WINME},  {WIN9X, 4, 91, CSkinMenuTheme::OS_WIN95},
        {NT, 4, 0, CSkinMenuTheme::OS_NT4},        {NT, 5, 0, CSkinMenuTheme::OS_WIN2000},
        {NT, 5, 1, CSkinMenuTheme::OS_WINXP},      {NT, 5, 2, CSkinMenuTheme::OS_NT_OTHER},
        {NT, 6, 1, CSkinMenuTheme::OS_NT_OTHER},   {NT, 10, 0, CSkinMenuTheme::OS_NT_OTHER},
        {NT, 3, 51, CSkinMenuTheme::OS_NT_OTHER},
    };
    for (const Case& c : cases) {
        info = Version(c.dwMajor, c.dwMinor);
        EXPECT_EQ(c.nCode, CSkinMenuTheme::VersionCodeFor(c.dwVersion, &info)) << c.dwMajor << "." << c.dwMinor;
    }
    // Without the version record only the family is known.
    EXPECT_EQ(CSkinMenuTheme::OS_NT_OTHER, CSkinMenuTheme::VersionCodeFor(NT, nullptr));
    EXPECT_EQ(CSkinMenuTheme::OS_WIN95, CSkinMenuTheme::VersionCodeFor(WIN9X, nullptr));
    // Wine presents itself as a later NT release.
    EXPECT_EQ(CSkinMenuTheme::OS_NT_OTHER, CSkinMenuTheme::GetOsVersionCode());
}

TEST_F(ThemeValue, ClassicThemeIsTheFileNameAtTheEndOfTheValue)
{
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme()) << "no key";

    Write("C:\\WINDOWS\\Resources\\Themes\\windows classic.theme");
    EXPECT_TRUE(CSkinMenuTheme::ReadClassicTheme());
    Write("Windows Classic.theme");
    EXPECT_TRUE(CSkinMenuTheme::ReadClassicTheme());
    Write("Classic.theme");
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme());
    Write("C:\\WINDOWS\\Resources\\Themes\\Luna.theme");
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme());
    Write("Windows Classic.theme.bak");
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme());
    const DWORD dwNumber = 1;
    Write(&dwNumber, sizeof(dwNumber), REG_DWORD);
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme());

    // A value stored without its terminator, as long as the buffer allows,
    // still ends in the file name; nothing past the buffer is read.
    std::string strFull(MAX_PATH - 1, 'x');
    strFull.replace(strFull.size() - 21, 21, "Windows Classic.theme");
    Write(strFull.data(), static_cast<DWORD>(strFull.size()));
    EXPECT_TRUE(CSkinMenuTheme::ReadClassicTheme());
    // Longer than the buffer: unreadable, so not classic.
    Write(std::string(MAX_PATH + 10, 'x') + "Windows Classic.theme");
    EXPECT_FALSE(CSkinMenuTheme::ReadClassicTheme());
}

TEST_F(ThemeValue, ClassicThemeIsProbedOnce)
{
    const BOOL bFirst = CSkinMenuTheme::IsClassicTheme();
    Write(bFirst ? "Luna.theme" : "Windows Classic.theme");
    EXPECT_EQ(bFirst, CSkinMenuTheme::IsClassicTheme());
}

TEST(SkinMenuData, TextsConvertThroughTheAnsiCodePageAndKeepNull)
{
    CSkinMenuData record;
    EXPECT_EQ(nullptr, record.GetTextW());
    EXPECT_EQ("", record.GetTextA());

    record.SetTextA("E&xit\tAlt+F4");
    EXPECT_STREQ(L"E&xit\tAlt+F4", record.GetTextW());
    EXPECT_EQ("E&xit\tAlt+F4", record.GetTextA());

    // A private copy: the caller's buffer may change afterwards.
    wchar_t szText[] = L"Caf\x00e9";
    record.SetTextW(szText);
    szText[0] = L'X';
    EXPECT_STREQ(L"Caf\x00e9", record.GetTextW());
    EXPECT_EQ("Caf\xe9", record.GetTextA());   // code page 1252

    record.SetTextA("");
    EXPECT_STREQ(L"", record.GetTextW());
    record.SetTextA(nullptr);
    EXPECT_EQ(nullptr, record.GetTextW());
    record.SetTextW(L"again");
    record.SetTextW(nullptr);
    EXPECT_EQ(nullptr, record.GetTextW());
}
