#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/SharedIcon.h"

// The picture of an icon file at the size stored in it, as LoadImage with
// IMAGE_ICON, size 0 x 0 and LR_LOADFROMFILE gives it; empty when the file is
// missing or no icon.
//
// A file of one uncompressed image, the kind every skin holds, is read once
// and decoded from memory, its size taken from the image's own header: under
// Wine that takes a third of LoadImage's time and half its memory, and saves
// GetIconInfo's copies of the bitmaps. Any other file (several images to
// choose from, PNG data, anything odd) goes to LoadImage as it is.
namespace IconFile
{
    // Which way Load read a file.
    enum class Reading
    {
        FromMemory,   // the single image decoded from the bytes read
        ByLoadImage,   // the file handed to LoadImage as it is
    };

    // pReading, when given, learns which way the file was read.
    SharedIcon Load(const std::wstring& strPath, Reading* pReading = nullptr);

    // The image of a file read into memory, in the bytes of that file.
    struct SingleImage
    {
        const BYTE* pBits;   // BITMAPINFOHEADER, colour table, XOR and AND masks
        DWORD cbBits;
        DWORD dwWidth;
        DWORD dwHeight;
    };
    // The one image of a file that holds exactly one uncompressed icon image
    // whose colour table and masks lie whole inside the span its entry gives;
    // nothing for any other file. Load decodes only such an image itself.
    std::optional<SingleImage> FindSingleImage(const std::vector<BYTE>& file);
}
