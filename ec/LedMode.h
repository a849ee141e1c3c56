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

// Selecting a mode is two writes: the clear byte, then the mode byte. Callers
// with work of their own between the two (the mode buttons change their
// images there) call the halves; everyone else calls SelectLedMode. The base
// is read from ec afresh for each write.
void BeginLedModeChange(EcAccess& ec);
void FinishLedModeChange(EcAccess& ec, LedMode mode);
void SelectLedMode(EcAccess& ec, LedMode mode);
