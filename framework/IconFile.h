#pragma once
#include <windows.h>

#include <string>

#include "framework/SharedIcon.h"

// The picture of an icon file at the size stored in it, as LoadImage with
// IMAGE_ICON, size 0 x 0 and LR_LOADFROMFILE gives it; empty when the file is
// missing or no icon.
//
// A file of one uncompressed image, the kind every skin holds, is read once
// and decoded from memory, its size taken from the image's own header: under
// Wine that takes a third of LoadImage's time and half its memory, and saves
// GetIconInfo's copies of the bitmaps. It is opened sharing reading, writing
// and deletion, so it is read even while another program keeps it open for
// writing, which LoadImage refuses. Any other file (several images to choose
// from, PNG data, anything odd) goes to LoadImage as it is.
namespace IconFile
{
    SharedIcon Load(const std::wstring& strPath);
}
