#pragma once
#include <windows.h>

// The Super I/O configuration port pair of the EC chip and, behind it, the
// EC's indirect-access registers that reach any byte of its address space.
//
// Port 0x4E selects a configuration register, port 0x4F reads or writes it.
// Configuration register 0x2E selects an indirect register, 0x2F reads or
// writes the selected one: 0x10 EC address low byte, 0x11 high byte, 0x12 the
// EC byte at that address. Configuration registers 0x20/0x21 are the chip id,
// which mirrors EC bytes 0x2000/0x2001, as monitoring tools read it there.
class SuperIoPorts
{
public:
    static constexpr WORD INDEX_PORT = 0x4E;
    static constexpr WORD DATA_PORT = 0x4F;
    static constexpr BYTE CHIP_ID_REGISTER = 0x20;   // and 0x21
    static constexpr BYTE INDIRECT_SELECT_REGISTER = 0x2E;
    static constexpr BYTE INDIRECT_DATA_REGISTER = 0x2F;
    static constexpr BYTE EC_ADDRESS_LOW = 0x10;
    static constexpr BYTE EC_ADDRESS_HIGH = 0x11;
    static constexpr BYTE EC_DATA = 0x12;
    static constexpr BYTE FLOATING_BUS = 0xFF;   // what nothing answers with

    // The chip's registers. They live in memory shared by every process that
    // uses the same EC, because on hardware a second program sees (and can
    // disturb) the selections the first one made.
    struct Registers
    {
        BYTE byIndex;
        BYTE byIndirectSelect;
        BYTE byAddressLow;
        BYTE byAddressHigh;
    };

    SuperIoPorts(volatile Registers* pRegisters, BYTE* pbyEcSpace);

    void Out(WORD wPort, BYTE byValue);
    BYTE In(WORD wPort) const;

private:
    void WriteIndirect(BYTE byValue);
    BYTE ReadIndirect() const;
    WORD EcAddress() const;

    volatile Registers* m_pRegisters;
    BYTE* m_pbyEcSpace;
};
