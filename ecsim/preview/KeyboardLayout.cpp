#include "KeyboardLayout.h"

namespace
{
    struct KeySpec
    {
        const char* pszLabel;
        int nWidth;   // 1/100 key units
    };

    // Each row adds up to 15 key units.
    const KeySpec ROW0[] = {{"Esc", 100}, {"F1", 100},  {"F2", 100},  {"F3", 100},    {"F4", 100},
                            {"F5", 100},  {"F6", 100},  {"F7", 100},  {"F8", 100},    {"F9", 100},
                            {"F10", 100}, {"F11", 100}, {"F12", 100}, {"PrtSc", 100}, {"Del", 100}};
    const KeySpec ROW1[] = {{"`", 100}, {"1", 100}, {"2", 100}, {"3", 100}, {"4", 100}, {"5", 100}, {"6", 100},
                            {"7", 100}, {"8", 100}, {"9", 100}, {"0", 100}, {"-", 100}, {"=", 100}, {"Backspace", 200}};
    const KeySpec ROW2[] = {{"Tab", 150}, {"Q", 100}, {"W", 100}, {"E", 100}, {"R", 100}, {"T", 100}, {"Y", 100},
                            {"U", 100},   {"I", 100}, {"O", 100}, {"P", 100}, {"[", 100}, {"]", 100}, {"\\", 150}};
    const KeySpec ROW3[] = {{"Caps", 175}, {"A", 100}, {"S", 100}, {"D", 100}, {"F", 100}, {"G", 100},    {"H", 100},
                            {"J", 100},    {"K", 100}, {"L", 100}, {";", 100}, {"'", 100}, {"Enter", 225}};
    const KeySpec ROW4[] = {{"Shift", 225}, {"Z", 100}, {"X", 100}, {"C", 100}, {"V", 100}, {"B", 100},
                            {"N", 100},     {"M", 100}, {",", 100}, {".", 100}, {"/", 100}, {"Shift", 275}};
    const KeySpec ROW5[] = {{"Ctrl", 125}, {"Fn", 100},   {"Win", 100}, {"Alt", 125}, {"", 550},
                            {"Alt", 100},  {"Ctrl", 100}, {"<", 100},   {"^ v", 100}, {">", 100}};

    template <size_t N> void AddRow(std::vector<KeyboardLayout::Key>& keys, const KeySpec (&row)[N], int nRow)
    {
        int x = 0;
        for (const KeySpec& key : row)
        {
            keys.push_back(
                {key.pszLabel,
                 {x, nRow * KeyboardLayout::ROW_UNITS, x + key.nWidth, (nRow + 1) * KeyboardLayout::ROW_UNITS}}
            );
            x += key.nWidth;
        }
    }
}   // namespace

KeyboardLayout::KeyboardLayout()
{
    AddRow(m_keys, ROW0, 0);
    AddRow(m_keys, ROW1, 1);
    AddRow(m_keys, ROW2, 2);
    AddRow(m_keys, ROW3, 3);
    AddRow(m_keys, ROW4, 4);
    AddRow(m_keys, ROW5, 5);
}
