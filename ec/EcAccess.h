#pragma once
#include <windows.h>

#include "ec/IsaBusMutex.h"

// Reads and writes single bytes of the embedded controller's 16-bit address
// space through the port-I/O library io.dll, via the Super I/O configuration
// ports 0x4E/0x4F and the EC's indirect-access registers.
//
// Construction binds io.dll, checks its driver and probes the chip; when the
// library, one of its exports or its driver is missing, the process ends at
// once with exit status 0. The library stays loaded until the process ends.
class EcAccess {
public:
    EcAccess();
    EcAccess(const EcAccess&) = delete;
    EcAccess& operator=(const EcAccess&) = delete;

    BYTE ReadEcByte(WORD wAddress);
    void WriteEcByte(WORD wAddress, BYTE byValue);
    bool IsDriverOpen() const { return m_bDriverOpen; }

    // Data members
    int m_nEcRamBase; // 0xC400 on an IT5570/IT5571, else 0x0400; add the EcRamMap offsets

private:
    typedef void(__stdcall* PFN_OUT32)(short nPort, short nValue);
    typedef short(__stdcall* PFN_INP32)(short nPort);
    typedef BOOL(__stdcall* PFN_QUERY)(void);

    // Implementation
    void BindLibrary();
    void ProbeChip();
    bool SelectEcAddress(WORD wAddress);
    bool WriteConfigRegister(BYTE byRegister, BYTE byValue);

    bool m_bDriverOpen;
    HMODULE m_hIoDll;
    PFN_OUT32 m_pfnOut32;
    PFN_INP32 m_pfnInp32;
    PFN_QUERY m_pfnIsInpOutDriverOpen;
    PFN_QUERY m_pfnIsXP64Bit; // bound with the rest, never called
    WORD m_wSioIndexPort;     // the data port is the next one
    IsaBusMutex m_mutexIsaBus;
};
