// Pixel statistics for the resource and skin tests: what a user would notice about a
// picture (its overall colour, how colourful it is), read through GDI as the program
// itself would load and draw it.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace test_pictures {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct Colour {
    double r = 0, g = 0, b = 0;
};

// Top-down 32-bit pixels of a bitmap.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<RGBQUAD> data;
};

Pixels ReadPixels(HBITMAP bitmap);

// The icon drawn as the buttons draw it (DrawIconEx at its own size) over a plain colour.
Pixels DrawIcon(HICON icon, COLORREF background);

Colour MeanColour(const Pixels& pixels);

// Mean of max(r, g, b) - min(r, g, b): 0 for greys, large for vivid colours.
double MeanChroma(const Pixels& pixels);

// Mean absolute difference per channel of two pictures, over the area both cover.
double MeanDifference(const Pixels& a, const Pixels& b);

}  // namespace test_pictures
