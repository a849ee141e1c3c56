#pragma once
#include <windows.h>

class EcAccess;

// The keyboard light mode byte the EC firmware acts on.
enum class LedMode : BYTE
{
    Auto = 0,
    On = 1,
    RainBow = 2,
    Breath = 3,
    ColorLoop = 4,
};

// Selects a mode with nothing of the caller's between the two bytes (see
// LedModeChange): false, and nothing written, when the ports cannot be had
// within dwWaitLimitMs.
bool SelectLedMode(EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs);
