#include "ec/LedModeChange.h"

#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"

LedModeChange::LedModeChange(EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs)
    : m_ec(ec),
      m_mode(mode),
      m_turn(ec.TakeTurn(dwWaitLimitMs)),
      m_bCleared(m_turn && ec.WriteRamByte(LED_CLEAR_OFFSET, 0x00))
{}

// Inside the turn the mode byte cannot be refused.
LedModeChange::~LedModeChange()
{
    if (m_bCleared)
        m_ec.WriteRamByte(LED_MODE_OFFSET, static_cast<BYTE>(m_mode));
}
