#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ec/IsaBusMutex.h"

// Reads and writes single bytes of the embedded controller's 16-bit address
// space through the port-I/O library io.dll, via the Super I/O configuration
// ports 0x4E/0x4F and the EC's indirect-access registers.
//
// Construction binds io.dll, checks its driver and probes the chip. When the
// library, one of its exports or its driver is missing, the window's start
// ends the process at once with exit status 0; a caller that says why asks for
// the failure to be kept instead. Either way the steps after the failing one
// are not taken, so no port has been touched. The library stays loaded until
// the process ends.
class EcAccess
{
public:
    enum class OnFailure
    {
        EndProcess,
        Report
    };
    // How far construction got.
    enum class State
    {
        Ready,
        LibraryMissing,
        ExportMissing,
        DriverClosed
    };

    explicit EcAccess(OnFailure onFailure = OnFailure::EndProcess);
    EcAccess(const EcAccess&) = delete;
    EcAccess& operator=(const EcAccess&) = delete;

    BYTE ReadEcByte(WORD wAddress);
    void WriteEcByte(WORD wAddress, BYTE byValue);
    bool IsDriverOpen() const { return m_bDriverOpen; }

    State GetState() const { return m_state; }
    // Why io.dll did not load (a system error code), when the library is missing.
    DWORD LoadError() const { return m_dwLoadError; }
    // The exports io.dll lacks, in lookup order, when one is missing.
    const std::vector<std::string>& MissingExports() const { return m_missingExports; }
    // Full path of the loaded io.dll; empty when none was loaded.
    std::wstring LibraryPath() const;
    // The chip id bytes the probe read at 0x2000 and 0x2001.
    BYTE ChipId(int nIndex) const { return m_byChipId[nIndex]; }

    // The folders searched for io.dll, in order, each with a trailing
    // backslash: the program's own folder, then the system folder.
    static std::vector<std::wstring> LibraryFolders();

    // Data members
    int m_nEcRamBase;   // 0xC400 on an IT5570/IT5571, else 0x0400; add the EcRamMap offsets

private:
    typedef void(__stdcall* PFN_OUT32)(short nPort, short nValue);
    typedef short(__stdcall* PFN_INP32)(short nPort);
    typedef BOOL(__stdcall* PFN_QUERY)(void);

    // Implementation
    State Open();
    State BindLibrary();
    void ProbeChip();
    bool SelectEcAddress(WORD wAddress);
    bool WriteConfigRegister(BYTE byRegister, BYTE byValue);

    bool m_bDriverOpen;
    HMODULE m_hIoDll;
    PFN_OUT32 m_pfnOut32;
    PFN_INP32 m_pfnInp32;
    PFN_QUERY m_pfnIsInpOutDriverOpen;
    PFN_QUERY m_pfnIsXP64Bit;   // bound with the rest, never called
    WORD m_wSioIndexPort;   // the data port is the next one
    IsaBusMutex m_mutexIsaBus;
    State m_state;
    DWORD m_dwLoadError;
    std::vector<std::string> m_missingExports;
    BYTE m_byChipId[2];
};
