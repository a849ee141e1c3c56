#pragma once
// Read-only view of the EC simulator's state file: 65,536 bytes, byte i being
// EC address i. The simulator maps the same file, so the view always shows the
// bytes as they are now, without copying.
#include <windows.h>

#include <string>

#include "ecsim/SimHandle.h"

class EcStateView
{
public:
    static const DWORD STATE_SIZE = 0x10000;
    static const WORD CHIP_ID_ADDR = 0x2000;
    static const WORD POWER_LEVEL_OFFSET = 0x30;
    static const WORD LED_MODE_OFFSET = 0xF6;

    // The simulator's rule: ECSIM_STATE when set, else ecsim-state.bin in the
    // given folder (the one that holds io.dll and this program).
    static std::string DefaultPath(const std::string& strFolder);

    // Maps the file; false while it does not exist or has the wrong size (the
    // simulator creates it when the program first loads io.dll).
    bool Open(const std::string& strPath);
    bool IsOpen() const { return static_cast<bool>(m_view); }

    // EC RAM base chosen from the chip id bytes, as the program chooses it.
    WORD RamBase() const;
    BYTE Mode() const { return At(static_cast<WORD>(RamBase() + LED_MODE_OFFSET)); }
    BYTE PowerLevel() const { return At(static_cast<WORD>(RamBase() + POWER_LEVEL_OFFSET)); }

private:
    // Volatile: the simulator changes the bytes under the view at any time.
    BYTE At(WORD wAddr) const { return static_cast<const volatile BYTE*>(m_view.Get())[wAddr]; }
    void Close();

    // In this order, so that the view goes before the mapping and the mapping before the file.
    SimKernelHandle m_hFile;
    SimKernelHandle m_hMapping;
    SimView m_view;
};
