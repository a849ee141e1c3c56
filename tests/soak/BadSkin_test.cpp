// Damaged skins: every skin file replaced by an empty file, random bytes, a
// header claiming a huge picture, or a folder of the same name. The program
// never crashes or hangs, shows exactly the fallback it is meant to
// (background: the message box, then the built-in picture; an icon: a blank
// button; the level-1 popup picture: the popup's two message boxes; levels 2
// and 3: no picture), and every mode click still reaches the EC. CI damages
// all files at once, once per kind of damage; the long soak damages each file
// on its own as well.
#include "tests/support/VelkorSession.h"
#include "base/OwnedHandle.h"
#include "tests/soak/Soak.h"
#include "tests/support/NotifyWindows.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{
    const wchar_t BACKGROUND[] = L"0_BG.bmp";
    const wchar_t LEVEL1_PICTURE[] = L"Perf_P1_Blue.bmp";
    const wchar_t* const SKIN_FILES[] = {
        L"0_BG.bmp",          L"01_On_0.ico",        L"01_On_1.ico",        L"02_Static_0.ico",  L"03_Breath_0.ico",
        L"03_Breath_1.ico",   L"04_ColorLoop_0.ico", L"04_ColorLoop_1.ico", L"05_RainBow_0.ico", L"05_RainBow_1.ico",
        L"06_Auto_0.ico",     L"06_Auto_1.ico",      L"06_Exit.ico",        L"07_Min.ico",       L"Perf_P1_Blue.bmp",
        L"Perf_P2_Green.bmp", L"Perf_P3_Red.bmp"};

    struct Button
    {
        int nId;
        const wchar_t* pszIdle;
        const wchar_t* pszActive;   // null for buttons without an active picture
        std::uint8_t byMode;
    };
    const Button BUTTONS[] = {
        {IDC_AUTO, L"06_Auto_0.ico", L"06_Auto_1.ico", 0},
        {IDC_ON, L"01_On_0.ico", L"01_On_1.ico", 1},
        {IDC_RAINBOW, L"05_RainBow_0.ico", L"05_RainBow_1.ico", 2},
        {IDC_BREATH, L"03_Breath_0.ico", L"03_Breath_1.ico", 3},
        {IDC_COLORLOOP, L"04_ColorLoop_0.ico", L"04_ColorLoop_1.ico", 4},
        {IDC_EXIT, L"06_Exit.ico", nullptr, 0},
        {IDC_MIN, L"07_Min.ico", nullptr, 0},
    };

    enum class Damage
    {
        Empty,
        RandomBytes,
        HugeHeader,
        Folder
    };
    const Damage ALL_DAMAGE[] = {Damage::Empty, Damage::RandomBytes, Damage::HugeHeader, Damage::Folder};

    const char* NameOf(Damage damage)
    {
        switch (damage)
        {
        case Damage::Empty: return "empty file";
        case Damage::RandomBytes: return "random bytes";
        case Damage::HugeHeader: return "header claiming a huge size";
        default: return "folder of the same name";
        }
    }

    bool IsBitmap(const std::wstring& strName)
    {
        return strName.size() > 4 && strName.compare(strName.size() - 4, 4, L".bmp") == 0;
    }

    void PutDword(std::vector<unsigned char>& bytes, size_t nOffset, std::uint32_t dw)
    {
        if (nOffset + 4 <= bytes.size())
            std::memcpy(&bytes[nOffset], &dw, 4);
    }

    // A picture header that asks for far more memory than there is.
    void ClaimHugeSize(std::vector<unsigned char>& bytes, bool bBitmap)
    {
        const std::uint32_t HUGE_SIDE = 100000;
        if (bBitmap)
        {
            PutDword(bytes, 2, 0xFFFFFFF0);   // bfSize
            PutDword(bytes, 14 + 4, HUGE_SIDE);   // biWidth
            PutDword(bytes, 14 + 8, HUGE_SIDE);   // biHeight
            return;
        }
        // ICONDIR, then the first ICONDIRENTRY: dwBytesInRes at 14, dwImageOffset at 18;
        // the skin's images are bitmaps (a PNG one would stay readable and fail
        // the check that the damage defeats the platform).
        PutDword(bytes, 14, 0x7FFFFFF0);
        std::uint32_t dwImage = 0;
        if (bytes.size() >= 22)
            std::memcpy(&dwImage, &bytes[18], 4);
        PutDword(bytes, dwImage + 4, HUGE_SIDE);
        PutDword(bytes, dwImage + 8, 2 * HUGE_SIDE);
    }

    void DamageFile(VelkorSession& velkor, const std::wstring& strName, Damage damage)
    {
        const std::wstring strPath = velkor.SkinFile(strName);
        std::vector<unsigned char> bytes = FileSystem::ReadBytes(strPath);
        switch (damage)
        {
        case Damage::Empty: bytes.clear(); break;
        case Damage::RandomBytes: {
            std::mt19937 rng(static_cast<unsigned>(bytes.size()));
            for (unsigned char& by : bytes)
                by = static_cast<unsigned char>(rng());
            break;
        }
        case Damage::HugeHeader: ClaimHugeSize(bytes, IsBitmap(strName)); break;
        case Damage::Folder:
            FileSystem::Remove(strPath);
            FileSystem::CreateFolders(strPath);
            return;
        }
        FileSystem::WriteBytes(strPath, bytes);
    }

    // Waits for a message box other than hPrevious and dismisses it with OK.
    void DismissNextBox(VelkorSession& velkor, HWND hPrevious, HWND* phBox)
    {
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND h : WindowQuery::MessageBoxes(velkor.Process().Pid()))
                if (h != hPrevious)
                    hBox = h;
            return hBox != nullptr;
        })) << "no message box came";
        PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hBox) || !IsWindowVisible(hBox); })) << "the box stayed";
        *phBox = hBox;
    }

    // Whether the platform itself refuses the file: the damage must defeat it, or
    // the test would prove little.
    bool Unreadable(VelkorSession& velkor, const std::wstring& strName)
    {
        const std::wstring strPath = velkor.SkinFile(strName);
        if (IsBitmap(strName))
            return !OwnedBitmap(
                static_cast<HBITMAP>(LoadImageW(nullptr, strPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))
            );
        return !OwnedIcon(static_cast<HICON>(LoadImageW(nullptr, strPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    }

    void ExpectPicture(VelkorSession& velkor, int nId, const wchar_t* pszFile, bool bBroken)
    {
        if (bBroken)
            EXPECT_GT(velkor.WaitForBlank(nId, 0.9), 0.9)
                << "button " << nId << " should be blank without " << Text::ToUtf8(pszFile);
        else
            EXPECT_GT(velkor.WaitForIcon(nId, velkor.SkinFile(pszFile)), 0.98)
                << "button " << nId << " should show " << Text::ToUtf8(pszFile);
    }

    void PollPowerLevel(VelkorSession& velkor, std::uint8_t byLevel)
    {
        NotifyWindows::SetPowerLevel(velkor, byLevel);
        PostMessageW(velkor.Main(), WM_TIMER, 1, 0);   // poll now rather than within 500 ms
    }

    // Once the popup stands placed and tells the level polled, and the program
    // has answered since, any message box that the poll led to is there.
    void ExpectNoBoxAfterPoll(VelkorSession& velkor, std::uint8_t byLevel)
    {
        const std::wstring strText = L"PowerLevel 0x30= " + std::to_wstring(byLevel);
        EXPECT_TRUE(WaitUntil([&] {
            const HWND hPopup = NotifyWindows::PowerPopup(velkor);
            return hPopup != nullptr && (GetWindowLongW(hPopup, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 &&
                   NotifyWindows::PowerText(hPopup) == strText;
        })) << "level "
            << int{byLevel} << " was not shown";
        EXPECT_TRUE(VelkorSession::Responds(velkor.Main()));
        EXPECT_TRUE(WindowQuery::MessageBoxes(velkor.Process().Pid()).empty()) << "level " << int{byLevel};
    }

    void RunWithDamagedFiles(const std::set<std::wstring>& damaged, Damage damage)
    {
        VelkorSession velkor;
        const std::set<std::wstring>& broken = damaged;
        for (const std::wstring& strName : damaged)
        {
            DamageFile(velkor, strName, damage);
            ASSERT_TRUE(Unreadable(velkor, strName)) << Text::ToUtf8(strName) << " is still readable";
        }
        velkor.Start();
        ASSERT_TRUE(velkor.WaitForFirstWindow()) << "no window, or the program ended";

        if (broken.count(BACKGROUND))
        {
            HWND hBox = nullptr;
            ASSERT_NO_FATAL_FAILURE(DismissNextBox(velkor, nullptr, &hBox));
            ASSERT_TRUE(velkor.WaitForMainWindow());
            Pause(300);
            EXPECT_TRUE(WindowQuery::MessageBoxes(velkor.Process().Pid()).empty())
                << "the background message came twice";
            EXPECT_GT(
                velkor.WaitForBackground(PixelImage::FromBitmapResource(velkor.Install().ExePath(), IDB_DEFAULT_BG)),
                0.99
            );
        }
        else
            ASSERT_NE(velkor.Main(), nullptr) << "a message box came for an intact background";

        for (const Button& button : BUTTONS)
            ExpectPicture(velkor, button.nId, button.pszIdle, broken.count(button.pszIdle) > 0);

        std::vector<std::uint8_t> modes;
        for (const Button& button : BUTTONS)
        {
            if (!button.pszActive)
                continue;
            ASSERT_TRUE(VelkorSession::ClickButton(velkor.Control(button.nId))) << "click not answered";
            modes.push_back(button.byMode);
            ExpectPicture(velkor, button.nId, button.pszActive, broken.count(button.pszActive) > 0);
        }
        EXPECT_EQ(velkor.ModeBytesWritten(), modes);

        // The popup loads its pictures when the first level arrives.
        PollPowerLevel(velkor, 1);
        if (broken.count(LEVEL1_PICTURE))
        {
            HWND hFirst = nullptr, hSecond = nullptr;
            ASSERT_NO_FATAL_FAILURE(DismissNextBox(velkor, nullptr, &hFirst));
            ASSERT_NO_FATAL_FAILURE(DismissNextBox(velkor, hFirst, &hSecond));
        }
        ExpectNoBoxAfterPoll(velkor, 1);
        PollPowerLevel(velkor, 2);
        ExpectNoBoxAfterPoll(velkor, 2);
        PollPowerLevel(velkor, 3);
        ExpectNoBoxAfterPoll(velkor, 3);

        EXPECT_TRUE(VelkorSession::Responds(velkor.Main())) << "the program stopped answering";
        EXPECT_TRUE(velkor.Process().IsRunning());
    }
}

TEST(BadSkin, EveryFileDamagedAtOnceFallsBackAndModesStillReachTheEc)
{
    for (Damage damage : ALL_DAMAGE)
    {
        SCOPED_TRACE(NameOf(damage));
        RunWithDamagedFiles(std::set<std::wstring>(std::begin(SKIN_FILES), std::end(SKIN_FILES)), damage);
    }
}

TEST(BadSkin, EachFileDamagedOnItsOwnFallsBackAlone)
{
    if (!Soak::IsLong())
        GTEST_SKIP() << "part of the long soak (VELKOR_SOAK=long)";
    for (const wchar_t* pszFile : SKIN_FILES)
        for (Damage damage : ALL_DAMAGE)
        {
            SCOPED_TRACE(Text::ToUtf8(pszFile) + ": " + NameOf(damage));
            RunWithDamagedFiles({pszFile}, damage);
        }
}
