#include "tests/support/res/TestPictures.h"

#include <algorithm>
#include <cstdlib>

namespace test_pictures {

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Pixels ReadPixels(HBITMAP bitmap) {
    BITMAP metrics{};
    GetObject(bitmap, sizeof(metrics), &metrics);
    Pixels pixels{metrics.bmWidth, metrics.bmHeight, {}};
    pixels.data.resize(static_cast<size_t>(pixels.width) * pixels.height);
    BITMAPINFO info = TopDown32(pixels.width, pixels.height);
    UniqueDc dc(CreateCompatibleDC(nullptr));
    GetDIBits(dc.get(), bitmap, 0, pixels.height, pixels.data.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

Pixels DrawIcon(HICON icon, COLORREF background) {
    ICONINFO parts{};
    GetIconInfo(icon, &parts);
    UniqueBitmap colour(parts.hbmColor);
    UniqueBitmap mask(parts.hbmMask);
    BITMAP metrics{};
    GetObject(parts.hbmColor, sizeof(metrics), &metrics);

    BITMAPINFO info = TopDown32(metrics.bmWidth, metrics.bmHeight);
    void* bits = nullptr;
    UniqueBitmap canvas(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        UniqueDc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ previous = SelectObject(dc.get(), canvas.get());
        RECT all{0, 0, metrics.bmWidth, metrics.bmHeight};
        UniqueGdi<HBRUSH> brush(CreateSolidBrush(background));
        FillRect(dc.get(), &all, brush.get());
        DrawIconEx(dc.get(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        SelectObject(dc.get(), previous);
    }
    return ReadPixels(canvas.get());
}

Colour MeanColour(const Pixels& pixels) {
    Colour sum;
    for (const RGBQUAD& p : pixels.data) {
        sum.r += p.rgbRed;
        sum.g += p.rgbGreen;
        sum.b += p.rgbBlue;
    }
    const double n = static_cast<double>(std::max<size_t>(pixels.data.size(), 1));
    return {sum.r / n, sum.g / n, sum.b / n};
}

double MeanChroma(const Pixels& pixels) {
    double sum = 0;
    for (const RGBQUAD& p : pixels.data)
        sum += std::max({p.rgbRed, p.rgbGreen, p.rgbBlue}) - std::min({p.rgbRed, p.rgbGreen, p.rgbBlue});
    return sum / static_cast<double>(std::max<size_t>(pixels.data.size(), 1));
}

double MeanDifference(const Pixels& a, const Pixels& b) {
    const int width = std::min(a.width, b.width);
    const int height = std::min(a.height, b.height);
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const RGBQUAD& p = a.data[static_cast<size_t>(y) * a.width + x];
            const RGBQUAD& q = b.data[static_cast<size_t>(y) * b.width + x];
            sum += std::abs(p.rgbRed - q.rgbRed) + std::abs(p.rgbGreen - q.rgbGreen) +
                   std::abs(p.rgbBlue - q.rgbBlue);
        }
    }
    return sum / (3.0 * std::max(width * height, 1));
}

}  // namespace test_pictures
