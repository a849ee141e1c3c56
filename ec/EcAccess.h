#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/OwnedHandle.h"
#include "ec/IsaBusMutex.h"

// Reads and writes single bytes of the embedded controller's 16-bit address
// space through the port-I/O library io.dll, via the Super I/O configuration
// ports 0x4E/0x4F and the EC's indirect-access registers.
//
// Construction binds io.dll, checks its driver and probes the chip; GetState
// says how far it got, and the caller decides what a failure means to it. The
// steps after the failing one are not taken, so no port has been touched.
// io.dll is released with the object: nothing else keeps a pointer into it.
//
// No port is touched while another program holds the port mutex: an access
// that cannot have it within its wait limit is not made, and says so. Where
// the mutex can be neither created nor opened, no port is touched at all.
class EcAccess
{
public:
    // How far construction got.
    enum class State
    {
        Ready,
        LibraryMissing,
        ExportMissing,
        DriverClosed,
        PortMutexUnavailable,   // the port mutex can be neither created nor opened: the ports cannot be shared
        PortsBusy   // another program kept the port mutex for the whole probe wait
    };

    // The probe waits up to dwProbeWaitLimitMs in all for the port mutex; each
    // later access up to dwAccessWaitLimitMs.
    EcAccess(DWORD dwProbeWaitLimitMs, DWORD dwAccessWaitLimitMs);
    EcAccess(const EcAccess&) = delete;
    EcAccess& operator=(const EcAccess&) = delete;

    // Nothing, or false: the access was not made and no port was touched,
    // because another program kept the ports for the whole wait, or because
    // construction stopped short of Ready (GetState says where).
    [[nodiscard]] std::optional<BYTE> ReadEcByte(WORD wAddress);
    bool WriteEcByte(WORD wAddress, BYTE byValue);
    // The same for a byte of the EC RAM block, named by its EcRamMap offset.
    [[nodiscard]] std::optional<BYTE> ReadRamByte(int nOffset);
    bool WriteRamByte(int nOffset, BYTE byValue);
    // The ports for a run of accesses that no other program may come between
    // (the two bytes of a mode change); the accesses inside wait for nothing.
    // Test it before the first access: false means another program kept the
    // ports for the whole wait, or there is no port mutex to take.
    [[nodiscard]] IsaBusMutex::Turn TakeTurn(DWORD dwWaitLimitMs) const
    {
        return IsaBusMutex::Turn(m_mutexIsaBus, dwWaitLimitMs);
    }
    // Why the port mutex could be neither created nor opened (a system error
    // code, see IsaBusMutex::OpenError); ERROR_SUCCESS when it is there.
    DWORD PortMutexError() const { return m_mutexIsaBus.OpenError(); }

    State GetState() const { return m_state; }
    // Why io.dll did not load (a system error code), when the library is missing.
    DWORD LoadError() const { return m_dwLoadError; }
    // The exports io.dll lacks, in lookup order, when one is missing.
    const std::vector<std::string>& MissingExports() const { return m_missingExports; }
    // Full path of the loaded io.dll; empty when none was loaded.
    std::wstring LibraryPath() const;
    // The chip id bytes the probe read at 0x2000 and 0x2001.
    BYTE ChipId(int nIndex) const { return m_byChipId[nIndex]; }
    // Where the probe found the EC RAM block: 0xC400 on an IT5570/IT5571, else 0x0400.
    int EcRamBase() const { return m_nEcRamBase; }

    // The folders searched for io.dll, in order, each with a trailing
    // backslash: the program's own folder, then the system folder.
    static std::vector<std::wstring> LibraryFolders();

private:
    typedef void(__stdcall* PFN_OUT32)(short nPort, short nValue);
    typedef short(__stdcall* PFN_INP32)(short nPort);
    typedef BOOL(__stdcall* PFN_QUERY)(void);

    // Implementation
    State Open(DWORD dwProbeWaitLimitMs);
    State BindLibrary();
    void ProbeChip();
    // The port sequences of one EC byte, for a caller that holds the turn and
    // knows the library is bound and its driver open.
    BYTE ReadPorts(WORD wAddress);
    void WritePorts(WORD wAddress, BYTE byValue);
    void SelectEcAddress(WORD wAddress);
    void WriteConfigRegister(BYTE byRegister, BYTE byValue);
    WORD RamAddress(int nOffset) const { return static_cast<WORD>(m_nEcRamBase + nOffset); }

    int m_nEcRamBase;   // set by the probe
    DWORD m_dwAccessWaitLimitMs;
    OwnedModule m_hIoDll;
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
