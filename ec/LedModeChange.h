#pragma once
#include <windows.h>

#include "ec/IsaBusMutex.h"
#include "ec/LedMode.h"

class EcAccess;

// One keyboard light mode change as its caller opens and closes it around
// work of its own: construction takes the ports and writes the clear byte;
// the end of the change's scope writes the mode byte and gives the ports
// back. No other program's access comes between the two bytes, and however
// the scope is left (an exception too) the mode byte follows the clear byte.
// The work in between holds up every other program that uses the EC ports:
// keep it to what cannot be done before.
//
// All or nothing: when the ports cannot be had within the wait limit, nothing
// is written and the change is false.
class LedModeChange
{
public:
    LedModeChange(EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs);
    ~LedModeChange();
    LedModeChange(const LedModeChange&) = delete;
    LedModeChange& operator=(const LedModeChange&) = delete;

    // Whether the clear byte went out, and with it the mode byte will.
    explicit operator bool() const { return m_bCleared; }

private:
    EcAccess& m_ec;
    LedMode m_mode;
    IsaBusMutex::Turn m_turn;   // released after the mode byte
    bool m_bCleared;
};
