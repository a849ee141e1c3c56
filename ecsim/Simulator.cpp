#include "ecsim/Simulator.h"

namespace
{

    HMODULE ThisModule()
    {
        HMODULE hModule = nullptr;
        GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&ThisModule), &hModule
        );
        return hModule;
    }

}   // namespace

Simulator& Simulator::Instance()
{
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator()
{
    std::string strError;
    if (!Start(ThisModule(), strError))
        OutputDebugStringA(("ecsim io.dll: " + strError + "; the port driver reports closed\n").c_str());
}

// A simulator that cannot reach its EC behaves like a library whose driver
// failed to load: IsInpOutDriverOpen answers FALSE and the ports float.
bool Simulator::Start(HMODULE hModule, std::string& strError)
{
    if (!m_config.Load(hModule, strError))
        return false;
    if (!m_config.m_strLogPath.empty() && !m_log.Open(m_config.m_strLogPath))
    {
        strError = "cannot open the port log " + m_config.m_strLogPath;
        return false;
    }
    if (!m_state.Open(m_config.m_strStatePath, m_config.m_byChipId, strError))
        return false;
    // Every process on the same state file must see the same chip registers.
    const std::string strSection = SimConfig::SharedObjectName("registers", m_config.m_strStatePath);
    if (!m_registers.Map(INVALID_HANDLE_VALUE, sizeof(SuperIoPorts::Registers), strSection.c_str()))
    {
        strError = "cannot create the shared section " + strSection;
        return false;
    }
    m_pPorts =
        std::make_unique<SuperIoPorts>(reinterpret_cast<SuperIoPorts::Registers*>(m_registers.Data()), m_state.Bytes());
    m_bDriverOpen = m_config.m_bDriverOpen;
    return true;
}

void Simulator::Out32(WORD wPort, WORD wValue)
{
    const BYTE byValue = static_cast<BYTE>(wValue);   // an 8-bit port takes the low byte
    if (m_log.IsOpen())
        m_log.Record("OUT", wPort, byValue);
    if (!m_pPorts)
        return;
    const BYTE* pHeld = m_config.m_nHoldAddress >= 0 ? m_state.Bytes() + m_config.m_nHoldAddress : nullptr;
    const BYTE byBefore = pHeld ? *pHeld : 0;
    m_pPorts->Out(wPort, byValue);
    if (pHeld && *pHeld != byBefore)
        Hold();
}

void Simulator::Hold()
{
    const auto event = [this](const char* pszKind) {
        return CreateEventA(
            nullptr, FALSE, FALSE, SimConfig::SharedObjectName(pszKind, m_config.m_strStatePath).c_str()
        );
    };
    const SimKernelHandle hHeld(event("held")), hGo(event("go"));
    SetEvent(hHeld.Get());
    WaitForSingleObject(hGo.Get(), 10000);
}

WORD Simulator::Inp32(WORD wPort)
{
    const BYTE byValue = m_pPorts ? m_pPorts->In(wPort) : SuperIoPorts::FLOATING_BUS;
    if (m_log.IsOpen())
        m_log.Record("INP", wPort, byValue);
    return static_cast<WORD>(m_wInp32HighBits | byValue);
}
