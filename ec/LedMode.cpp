#include "ec/LedMode.h"

#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"

bool SelectLedMode(EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs, const std::function<void()>& betweenWrites)
{
    const IsaBusMutex::Turn turn = ec.TakeTurn(dwWaitLimitMs);
    if (!turn || !ec.WriteEcByte(static_cast<WORD>(ec.m_nEcRamBase + LED_CLEAR_OFFSET), 0x00))
        return false;
    // Inside the turn the mode byte cannot be refused.
    const auto writeMode = [&] {
        return ec.WriteEcByte(static_cast<WORD>(ec.m_nEcRamBase + LED_MODE_OFFSET), static_cast<BYTE>(mode));
    };
    try
    {
        if (betweenWrites)
            betweenWrites();
    }
    catch (...)
    {
        writeMode();
        throw;
    }
    return writeMode();
}
