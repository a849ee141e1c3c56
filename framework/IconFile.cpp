#include "framework/IconFile.h"

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "base/OwnedHandle.h"

namespace
{
    // Files larger than this are no single small icon: LoadImage takes them.
    constexpr DWORD LARGEST_SINGLE_IMAGE_FILE = 1024 * 1024;
    constexpr LONG LARGEST_SIDE = 256;
    constexpr size_t DIRECTORY_SIZE = 6;   // reserved, type, count
    constexpr size_t ENTRY_SIZE = 16;
    constexpr WORD ICON_TYPE = 1;
    constexpr DWORD RESOURCE_VERSION = 0x00030000;   // what CreateIconFromResourceEx expects

    template <class T> T ReadAt(const std::vector<BYTE>& file, size_t nOffset)
    {
        T value;
        std::memcpy(&value, file.data() + nOffset, sizeof value);
        return value;
    }

    std::optional<std::vector<BYTE>> ReadSmallFile(const std::wstring& strPath)
    {
        const OwnedKernelHandle hFile(::CreateFileW(
            strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr
        ));
        if (!hFile)
            return std::nullopt;
        std::optional<std::vector<BYTE>> bytes;
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(hFile.Get(), &size) && size.QuadPart <= LARGEST_SINGLE_IMAGE_FILE)
        {
            std::vector<BYTE> buffer(static_cast<size_t>(size.QuadPart));
            DWORD cbRead = 0;
            if (::ReadFile(hFile.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &cbRead, nullptr) &&
                cbRead == buffer.size())
                bytes = std::move(buffer);
        }
        return bytes;
    }

    // The image of a file read into memory, in the bytes of that file.
    struct SingleImage
    {
        const BYTE* pBits;   // BITMAPINFOHEADER, colour table, XOR and AND masks
        DWORD cbBits;
        DWORD dwWidth;
        DWORD dwHeight;
    };

    // The one image of a file that holds exactly one uncompressed icon image
    // whose colour table and masks lie whole inside the span its entry gives
    // (the system may take a shorter span on trust); nothing for any other file.
    std::optional<SingleImage> FindSingleImage(const std::vector<BYTE>& file)
    {
        if (file.size() < DIRECTORY_SIZE + ENTRY_SIZE || ReadAt<WORD>(file, 0) != 0 ||
            ReadAt<WORD>(file, 2) != ICON_TYPE || ReadAt<WORD>(file, 4) != 1)
            return std::nullopt;
        const DWORD cbImage = ReadAt<DWORD>(file, DIRECTORY_SIZE + 8);
        const DWORD nOffset = ReadAt<DWORD>(file, DIRECTORY_SIZE + 12);
        if (nOffset < DIRECTORY_SIZE + ENTRY_SIZE || nOffset > file.size() || cbImage > file.size() - nOffset ||
            cbImage < sizeof(BITMAPINFOHEADER))
            return std::nullopt;

        const auto header = ReadAt<BITMAPINFOHEADER>(file, nOffset);
        // The height counts the XOR and the AND mask.
        const LONG nWidth = header.biWidth, nHeight = header.biHeight / 2;
        const WORD nBits = header.biBitCount;
        if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biCompression != BI_RGB ||
            nWidth < 1 || nWidth > LARGEST_SIDE || header.biHeight % 2 != 0 || nHeight < 1 || nHeight > LARGEST_SIDE ||
            (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24 && nBits != 32))
            return std::nullopt;
        // A non-zero biClrUsed puts that many colours before the pixels at
        // any depth; the system's decoder skips them at 24 and 32 bits too.
        const DWORD nColours = header.biClrUsed != 0 ? header.biClrUsed : nBits <= 8 ? 1u << nBits : 0;
        if (nColours > 256)
            return std::nullopt;
        const DWORD cbXorRow = (static_cast<DWORD>(nWidth) * nBits + 31) / 32 * 4;
        const DWORD cbAndRow = (static_cast<DWORD>(nWidth) + 31) / 32 * 4;
        const DWORD cbNeeded =
            sizeof(BITMAPINFOHEADER) + nColours * sizeof(RGBQUAD) + (cbXorRow + cbAndRow) * static_cast<DWORD>(nHeight);
        if (cbNeeded > cbImage)
            return std::nullopt;
        return SingleImage{file.data() + nOffset, cbImage, static_cast<DWORD>(nWidth), static_cast<DWORD>(nHeight)};
    }

    // The icon of the one image FindSingleImage finds, decoded from the bytes
    // of its file; empty for any other file, and when the system refuses it.
    SharedIcon DecodeSingleImage(const std::vector<BYTE>& file)
    {
        const std::optional<SingleImage> image = FindSingleImage(file);
        if (!image)
            return {};
        // Size 0 x 0: the image at the size it was drawn at, as LoadImage gives it.
        return SharedIcon::Adopt(
            ::CreateIconFromResourceEx(
                const_cast<BYTE*>(image->pBits), image->cbBits, TRUE, RESOURCE_VERSION, 0, 0, LR_DEFAULTCOLOR
            ),
            image->dwWidth, image->dwHeight
        );
    }
}   // namespace

namespace IconFile
{
    SharedIcon Load(const std::wstring& strPath)
    {
        const std::optional<std::vector<BYTE>> file = ReadSmallFile(strPath);
        if (SharedIcon icon = file ? DecodeSingleImage(*file) : SharedIcon())
            return icon;
        return SharedIcon::Adopt(
            static_cast<HICON>(::LoadImageW(nullptr, strPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE))
        );
    }
}   // namespace IconFile
