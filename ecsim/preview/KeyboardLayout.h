#pragma once
// A 15-unit-wide, six-row notebook keyboard. Key rectangles are given in
// hundredths of a key unit so that the window can scale them to any size.
#include <windows.h>

#include <vector>

class KeyboardLayout
{
public:
    struct Key
    {
        const char* pszLabel;
        RECT rcUnits;   // left, top, right, bottom in 1/100 key units
    };

    static const int ROW_UNITS = 100;
    static const int WIDTH_UNITS = 1500;
    static const int ROWS = 6;

    KeyboardLayout();
    const std::vector<Key>& Keys() const { return m_keys; }

private:
    std::vector<Key> m_keys;
};
