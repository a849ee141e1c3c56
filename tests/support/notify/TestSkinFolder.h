#pragma once
#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"

// A skin folder of the notify tests: the three power pictures as plain
// colours of the sizes a test needs, in a folder of its own.
class TestSkinFolder
{
public:
    static constexpr COLORREF BLUE = RGB(20, 60, 230);
    static constexpr COLORREF GREEN = RGB(30, 200, 60);
    static constexpr COLORREF RED = RGB(230, 30, 40);

    // The level-2 and level-3 pictures get sizes of their own, unlike the
    // level-1 picture, so that a test sees which one sizes the popup.
    explicit TestSkinFolder(SIZE sizeP1);

    const std::wstring& Path() const { return m_folder.Path(); }

private:
    TempFolder m_folder;
};
