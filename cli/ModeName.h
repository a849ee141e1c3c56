#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "ec/LedMode.h"

// The keyboard light modes as the command line names them: auto, on, rainbow,
// breath, colorloop in any letter case, or their mode byte 0-4; printed as
// Auto, On, RainBow, Breath, ColorLoop.
class ModeName
{
public:
    static std::optional<LedMode> Parse(const std::wstring& strName);
    // The name of a mode byte read from the EC; "unknown" for a byte that is no mode.
    static const wchar_t* Of(BYTE byMode);
};
