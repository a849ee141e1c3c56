#include "framework/IconFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/OwnedHandle.h"
#include "tests/support/FileSystem.h"
#include "tests/support/framework/IconLook.h"
#include "tests/support/TempFolder.h"

namespace
{
    using Bytes = std::vector<unsigned char>;

    template <class T> void Append(Bytes& bytes, const T& value)
    {
        const size_t nAt = bytes.size();
        bytes.resize(nAt + sizeof value);
        std::memcpy(bytes.data() + nAt, &value, sizeof value);
    }

    // One icon image: header, grey-ramp colour table (256 colours for 8 bits,
    // else nTableColours, which biClrUsed names), a pattern of colours, and an
    // AND mask that leaves every third pixel see-through.
    Bytes IconImage(int cx, int cy, WORD nBits, DWORD nTableColours = 0)
    {
        Bytes image;
        Append(
            image, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), cx, 2 * cy, 1, nBits, BI_RGB, 0, 0, 0, nTableColours, 0}
        );
        for (DWORD i = 0; i < (nBits == 8 ? 256 : nTableColours); ++i)
            Append(image, RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0});
        const int cbXorRow = (cx * nBits + 31) / 32 * 4, cbAndRow = (cx + 31) / 32 * 4;
        for (int y = 0; y < cy; ++y)
        {
            Bytes row(cbXorRow, 0);
            for (int x = 0; x < cx; ++x)
            {
                if (nBits == 8)
                {
                    row[x] = BYTE(x * 13 + y * 7);
                    continue;
                }
                // 32 bits: blue, green, red, alpha
                row[4 * x] = BYTE(x * 9);
                row[4 * x + 1] = BYTE(y * 5);
                row[4 * x + 2] = 200;
                row[4 * x + 3] = BYTE(x * 19 + 40);
            }
            image.insert(image.end(), row.begin(), row.end());
        }
        for (int y = 0; y < cy; ++y)
        {
            Bytes row(cbAndRow, 0);
            for (int x = 0; x < cx; ++x)
                if ((x + y) % 3 == 0)
                    row[x / 8] |= BYTE(0x80 >> (x % 8));
            image.insert(image.end(), row.begin(), row.end());
        }
        return image;
    }

    Bytes IconFileOf(const std::vector<Bytes>& images)
    {
        Bytes file;
        Append(file, WORD{0});
        Append(file, WORD{1});
        Append(file, WORD(images.size()));
        DWORD nOffset = DWORD(6 + 16 * images.size());
        for (const Bytes& image : images)
        {
            BITMAPINFOHEADER header;
            std::memcpy(&header, image.data(), sizeof header);
            file.insert(file.end(), {BYTE(header.biWidth), BYTE(header.biHeight / 2), 0, 0});
            Append(file, WORD{1});
            Append(file, header.biBitCount);
            Append(file, DWORD(image.size()));
            Append(file, nOffset);
            nOffset += DWORD(image.size());
        }
        for (const Bytes& image : images)
            file.insert(file.end(), image.begin(), image.end());
        return file;
    }

    // What Load makes of the file at strPath: as it is, and while another program
    // keeps it open for writing, when only a read from memory gets it (LoadImage
    // cannot open it then).
    struct Loaded
    {
        IconLook look, lookWhileWritten;
    };

    Loaded LoadBothWays(const std::wstring& strPath)
    {
        Loaded loaded{LookOf(IconFile::Load(strPath)), {}};
        const OwnedKernelHandle hWriter(::CreateFileW(
            strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr
        ));
        EXPECT_TRUE(hWriter) << "not opened for writing";
        loaded.lookWhileWritten = LookOf(IconFile::Load(strPath));
        return loaded;
    }
}   // namespace

// A file of one plain image is decoded from memory, any other goes to
// LoadImage; either way the icon looks as LoadImage makes it, for skin
// pictures and for icons of other depths, sizes and image counts.
TEST(IconFile, GivesWhatLoadImageGivesForEveryKindOfIconFile)
{
    TempFolder temp;
    for (const wchar_t* pszName : {L"01_On_1.ico", L"06_Exit.ico"})
    {
        const std::wstring strPath = temp.File(pszName);
        FileSystem::Copy(FileSystem::ProductFolder() + L"\\skin_EN\\" + pszName, strPath);
        const IconLook expected = LoadImageLook(strPath);
        ASSERT_FALSE(expected.pixels.empty()) << "LoadImage reads " << pszName;
        const Loaded loaded = LoadBothWays(strPath);
        EXPECT_EQ(loaded.look, expected) << pszName;
        EXPECT_EQ(loaded.lookWhileWritten, expected) << pszName << ": not read from memory";
    }

    const struct
    {
        const wchar_t* pszName;
        Bytes file;
        bool bFromMemory;
    } cases[] = {
        {L"odd-8bit.ico", IconFileOf({IconImage(17, 13, 8)}), true},
        {L"32bit.ico", IconFileOf({IconImage(40, 24, 32)}), true},
        // Pixels that start after a colour table, which a 32-bit image may carry.
        {L"32bit-with-colours.ico", IconFileOf({IconImage(20, 20, 32, 7)}), true},
        {L"two-images.ico", IconFileOf({IconImage(16, 16, 8), IconImage(48, 48, 32)}), false},
    };
    for (const auto& example : cases)
    {
        const std::wstring strPath = temp.File(example.pszName);
        FileSystem::WriteBytes(strPath, example.file);
        const IconLook expected = LoadImageLook(strPath);
        ASSERT_FALSE(expected.pixels.empty()) << "LoadImage reads " << example.pszName;
        const Loaded loaded = LoadBothWays(strPath);
        EXPECT_EQ(loaded.look, expected) << example.pszName;
        EXPECT_EQ(loaded.lookWhileWritten, example.bFromMemory ? expected : IconLook{}) << example.pszName;
    }
}

// The platform reads some damaged files all the same (a picture cut short in
// its pixels): whatever it makes of one, IconFile makes the same, never from
// memory.
TEST(IconFile, ADamagedFileGivesWhatLoadImageGivesAndAMissingOneNoIcon)
{
    TempFolder temp;
    const Bytes whole = IconFileOf({IconImage(32, 32, 32)});
    Bytes huge = whole;
    const LONG nHugeSide = 100000;
    std::memcpy(&huge[22 + 4], &nHugeSide, sizeof nHugeSide);   // the image header's width
    // 70 bytes: a 1 x 1, 32-bit image whose header names 256 colours that the
    // file does not hold; the pixels it describes would lie beyond its end.
    Bytes missingColours = IconFileOf({IconImage(1, 1, 32)});
    const DWORD nNamedColours = 256;
    std::memcpy(&missingColours[22 + 32], &nNamedColours, sizeof nNamedColours);   // biClrUsed
    const struct
    {
        const wchar_t* pszName;
        Bytes file;
    } damaged[] = {
        {L"empty.ico", {}},
        {L"half.ico", Bytes(whole.begin(), whole.begin() + whole.size() / 2)},
        {L"header-only.ico", Bytes(whole.begin(), whole.begin() + 22)},
        {L"huge.ico", huge},
        {L"noise.ico", Bytes(whole.size(), 0xA5)},
        {L"missing-colours.ico", missingColours},
    };
    ASSERT_EQ(70u, missingColours.size());
    for (const auto& example : damaged)
    {
        const std::wstring strPath = temp.File(example.pszName);
        FileSystem::WriteBytes(strPath, example.file);
        const Loaded loaded = LoadBothWays(strPath);
        EXPECT_EQ(loaded.look, LoadImageLook(strPath)) << example.pszName;
        EXPECT_EQ(loaded.lookWhileWritten, IconLook{}) << example.pszName;
    }
    EXPECT_FALSE(IconFile::Load(temp.File(L"missing.ico")));
    EXPECT_FALSE(IconFile::Load(temp.Path())) << "a folder";
}
