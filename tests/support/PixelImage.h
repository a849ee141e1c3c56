#pragma once
// Pixels of what a window shows, and reference pictures to compare them with.
#include <windows.h>

#include <string>
#include <vector>

class PixelImage
{
public:
    PixelImage() = default;
    PixelImage(int nWidth, int nHeight, COLORREF crFill);

    // The client area of a visible window as it is on the screen (BitBlt from the
    // window's DC: PrintWindow leaves the child controls out under Wine).
    static PixelImage GrabClient(HWND hWnd);
    // A bitmap file at its stored size; throws std::runtime_error when unreadable.
    static PixelImage FromBitmapFile(const std::wstring& strPath);
    // A bitmap resource of an executable (loaded as data, never run).
    static PixelImage FromBitmapResource(const std::wstring& strModule, int nId);
    // An icon drawn at its stored size, centred on a nWidth x nHeight field of
    // crBack (0 x 0: a field of the icon's size), the way an icon button shows it.
    static PixelImage IconOnFace(HICON hIcon, int nWidth, int nHeight, COLORREF crBack);
    // The same for an icon file; throws when the icon is unreadable.
    static PixelImage IconOnFace(const std::wstring& strIconPath, int nWidth, int nHeight, COLORREF crBack);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    COLORREF At(int x, int y) const;
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }

    PixelImage Crop(const RECT& rc) const;
    // This image repeated from the top-left corner over nWidth x nHeight, as a
    // pattern brush paints it.
    PixelImage Tile(int nWidth, int nHeight) const;
    // Fraction (0..1) of pixels that equal the other image's pixel at the same
    // place within nTolerance on every channel, leaving out the pixels inside
    // the ignored rectangles. Images must have the same size.
    double Match(const PixelImage& other, int nTolerance = 8, const std::vector<RECT>& ignored = {}) const;
    // Fraction of pixels equal to a colour within nTolerance on every channel.
    double Share(COLORREF cr, int nTolerance = 8) const;

    // What a user notices about a picture: its overall colour, how colourful it
    // is (0 for greys), how far it is from another one (per channel, 0..255,
    // over the area both cover).
    struct Colour
    {
        double r, g, b;
    };
    Colour MeanColour() const;
    double MeanChroma() const;
    double MeanDifference(const PixelImage& other) const;

private:
    static PixelImage FromBitmap(HBITMAP hBitmap);
    static PixelImage FromDc(HDC hdc, int nWidth, int nHeight);

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<COLORREF> m_pixels;   // rows top to bottom, RGB() values
};
