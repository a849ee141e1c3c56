#include "ecsim/SuperIoPorts.h"

#include "ecsim/EcLayout.h"

SuperIoPorts::SuperIoPorts(volatile Registers* pRegisters, BYTE* pbyEcSpace)
    : m_pRegisters(pRegisters),
      m_pbyEcSpace(pbyEcSpace)
{}

WORD SuperIoPorts::EcAddress() const
{
    return static_cast<WORD>(m_pRegisters->byAddressHigh << 8 | m_pRegisters->byAddressLow);
}

void SuperIoPorts::Out(WORD wPort, BYTE byValue)
{
    if (wPort == INDEX_PORT)
    {
        m_pRegisters->byIndex = byValue;
        return;
    }
    if (wPort != DATA_PORT)
        return;
    switch (m_pRegisters->byIndex)
    {
    case INDIRECT_SELECT_REGISTER: m_pRegisters->byIndirectSelect = byValue; break;
    case INDIRECT_DATA_REGISTER: WriteIndirect(byValue); break;
    default:   // the chip id and the unmodelled registers ignore writes
        break;
    }
}

BYTE SuperIoPorts::In(WORD wPort) const
{
    if (wPort == INDEX_PORT)
        return m_pRegisters->byIndex;
    if (wPort != DATA_PORT)
        return FLOATING_BUS;
    switch (m_pRegisters->byIndex)
    {
    case CHIP_ID_REGISTER: return m_pbyEcSpace[EcLayout::CHIP_ID_ADDRESS];
    case CHIP_ID_REGISTER + 1: return m_pbyEcSpace[EcLayout::CHIP_ID_ADDRESS + 1];
    case INDIRECT_SELECT_REGISTER: return m_pRegisters->byIndirectSelect;
    case INDIRECT_DATA_REGISTER: return ReadIndirect();
    default: return FLOATING_BUS;
    }
}

void SuperIoPorts::WriteIndirect(BYTE byValue)
{
    switch (m_pRegisters->byIndirectSelect)
    {
    case EC_ADDRESS_LOW: m_pRegisters->byAddressLow = byValue; break;
    case EC_ADDRESS_HIGH: m_pRegisters->byAddressHigh = byValue; break;
    case EC_DATA: m_pbyEcSpace[EcAddress()] = byValue; break;
    default: break;
    }
}

BYTE SuperIoPorts::ReadIndirect() const
{
    switch (m_pRegisters->byIndirectSelect)
    {
    case EC_ADDRESS_LOW: return m_pRegisters->byAddressLow;
    case EC_ADDRESS_HIGH: return m_pRegisters->byAddressHigh;
    case EC_DATA: return m_pbyEcSpace[EcAddress()];
    default: return FLOATING_BUS;
    }
}
