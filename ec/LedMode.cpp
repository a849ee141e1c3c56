#include "ec/LedMode.h"

#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"

void BeginLedModeChange(EcAccess& ec)
{
    ec.WriteEcByte(static_cast<WORD>(ec.m_nEcRamBase + LED_CLEAR_OFFSET), 0x00);
}

void FinishLedModeChange(EcAccess& ec, LedMode mode)
{
    ec.WriteEcByte(static_cast<WORD>(ec.m_nEcRamBase + LED_MODE_OFFSET), static_cast<BYTE>(mode));
}

void SelectLedMode(EcAccess& ec, LedMode mode)
{
    BeginLedModeChange(ec);
    FinishLedModeChange(ec, mode);
}
