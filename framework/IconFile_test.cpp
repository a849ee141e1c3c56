#include "framework/IconFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

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

    // One icon image: header, grey-ramp colour table for 8 bits, a pattern of
    // colours, and an AND mask that leaves every third pixel see-through.
    Bytes IconImage(int cx, int cy, WORD nBits)
    {
        Bytes image;
        Append(image, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), cx, 2 * cy, 1, nBits, BI_RGB, 0, 0, 0, 0, 0});
        if (nBits == 8)
            for (int i = 0; i < 256; ++i)
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
}   // namespace

TEST(IconFile, GivesWhatLoadImageGivesForSkinPicturesAndForIconsOfOtherDepthsSizesAndImageCounts)
{
    for (const wchar_t* pszName : {L"01_On_1.ico", L"06_Exit.ico"})
    {
        const std::wstring strPath = FileSystem::ProductFolder() + L"\\skin_EN\\" + pszName;
        const SharedIcon icon = IconFile::Load(strPath);
        ASSERT_TRUE(icon) << pszName;
        EXPECT_EQ(LookOf(icon), LoadImageLook(strPath)) << pszName;
    }

    TempFolder temp;
    const struct
    {
        const wchar_t* pszName;
        Bytes file;
    } cases[] = {
        {L"odd-8bit.ico", IconFileOf({IconImage(17, 13, 8)})},
        {L"32bit.ico", IconFileOf({IconImage(40, 24, 32)})},
        {L"two-images.ico", IconFileOf({IconImage(16, 16, 8), IconImage(48, 48, 32)})},
    };
    for (const auto& example : cases)
    {
        const std::wstring strPath = temp.File(example.pszName);
        FileSystem::WriteBytes(strPath, example.file);
        const IconLook expected = LoadImageLook(strPath);
        ASSERT_FALSE(expected.pixels.empty()) << "LoadImage reads " << example.pszName;
        EXPECT_EQ(LookOf(IconFile::Load(strPath)), expected) << example.pszName;
    }
}

// The platform reads some damaged files all the same (a picture cut short in
// its pixels): whatever it makes of one, IconFile makes the same.
TEST(IconFile, ADamagedFileGivesWhatLoadImageGivesAndAMissingOneNoIcon)
{
    TempFolder temp;
    const Bytes whole = IconFileOf({IconImage(32, 32, 32)});
    Bytes huge = whole;
    const LONG nHugeSide = 100000;
    std::memcpy(&huge[22 + 4], &nHugeSide, sizeof nHugeSide);   // the image header's width
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
    };
    for (const auto& example : damaged)
    {
        const std::wstring strPath = temp.File(example.pszName);
        FileSystem::WriteBytes(strPath, example.file);
        EXPECT_EQ(LookOf(IconFile::Load(strPath)), LoadImageLook(strPath)) << example.pszName;
    }
    EXPECT_FALSE(IconFile::Load(temp.File(L"missing.ico")));
    EXPECT_FALSE(IconFile::Load(temp.Path())) << "a folder";
}
