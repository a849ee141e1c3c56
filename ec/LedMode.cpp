#include "ec/LedMode.h"

#include "ec/LedModeChange.h"

bool SelectLedMode(EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs)
{
    return static_cast<bool>(LedModeChange(ec, mode, dwWaitLimitMs));
}
