#pragma once
#include <windows.h>

#include <functional>

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

// Selecting a mode is two writes, the clear byte and then the mode byte, in
// one turn on the ports, so that no other program's access comes between
// them. It is all or nothing: when the ports cannot be had within
// dwWaitLimitMs, nothing is written (nor is betweenWrites called) and the
// answer is false. A caller with work of its own between the two bytes (the
// mode buttons change their images there) passes it as betweenWrites; should
// that work throw, the mode byte is still written and the exception goes on.
// The base is read from ec afresh for each write.
bool SelectLedMode(
    EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs, const std::function<void()>& betweenWrites = nullptr
);
