#pragma once
#include <windows.h>

// Where the simulated EC keeps what the tools look at.
namespace EcLayout
{

    constexpr DWORD SPACE_SIZE = 0x10000;   // the EC's whole address space
    constexpr WORD CHIP_ID_ADDRESS = 0x2000;   // two bytes, 0x55 0x70 on an IT5570

    // The EC RAM block begins at 0xC400 on IT5570/IT5571 chips (id 55:70 or
    // 55:71) and at 0x0400 on every other chip.
    constexpr WORD RAM_BASE_IT557X = 0xC400;
    constexpr WORD RAM_BASE_OTHER = 0x0400;
    constexpr WORD POWER_LEVEL_OFFSET = 0x30;
    constexpr WORD LED_CLEAR_OFFSET = 0xBD;
    constexpr WORD LED_MODE_OFFSET = 0xF6;

    inline WORD RamBase(BYTE byId1, BYTE byId2)
    {
        return byId1 == 0x55 && (byId2 == 0x70 || byId2 == 0x71) ? RAM_BASE_IT557X : RAM_BASE_OTHER;
    }

}   // namespace EcLayout
