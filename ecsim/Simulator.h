#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ecsim/EcStateFile.h"
#include "ecsim/MappedView.h"
#include "ecsim/PortLogWriter.h"
#include "ecsim/SimConfig.h"
#include "ecsim/SuperIoPorts.h"

// What io.dll puts behind its exports: the configured EC, its ports and the
// port log, set up on the first call into the library.
class Simulator
{
public:
    static Simulator& Instance();

    void Out32(WORD wPort, WORD wValue);
    WORD Inp32(WORD wPort);
    bool IsDriverOpen() const { return m_bDriverOpen; }

    // Test hook: bits ORed into every Inp32 answer of this process, as a
    // port library that leaves the upper half of its result undefined would.
    void SetInp32HighBits(WORD wBits) { m_wInp32HighBits = static_cast<WORD>(wBits & 0xFF00); }

private:
    Simulator();
    bool Start(HMODULE hModule, std::string& strError);
    // Holds this process while a test looks at it (ECSIM_HOLD).
    void Hold();

    SimConfig m_config;
    EcStateFile m_state;
    MappedView m_registers;
    std::unique_ptr<SuperIoPorts> m_pPorts;   // null when the EC could not be set up
    PortLogWriter m_log;
    bool m_bDriverOpen = false;
    WORD m_wInp32HighBits = 0;
};
