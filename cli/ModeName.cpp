#include "cli/ModeName.h"

#include <iterator>

namespace
{
    // Indexed by the mode byte.
    constexpr const wchar_t* MODE_NAMES[] = {L"Auto", L"On", L"RainBow", L"Breath", L"ColorLoop"};
}

std::optional<LedMode> ModeName::Parse(const std::wstring& strName)
{
    if (strName.size() == 1 && strName[0] >= L'0' && strName[0] < L'0' + std::size(MODE_NAMES))
        return static_cast<LedMode>(strName[0] - L'0');
    for (size_t nMode = 0; nMode < std::size(MODE_NAMES); ++nMode)
    {
        // Ordinal, so that the user's locale cannot change what matches.
        if (CompareStringOrdinal(strName.c_str(), static_cast<int>(strName.size()), MODE_NAMES[nMode], -1, TRUE) ==
            CSTR_EQUAL)
            return static_cast<LedMode>(nMode);
    }
    return std::nullopt;
}

const wchar_t* ModeName::Of(BYTE byMode)
{
    return byMode < std::size(MODE_NAMES) ? MODE_NAMES[byMode] : L"unknown";
}
