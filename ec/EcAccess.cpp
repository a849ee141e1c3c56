#include "ec/EcAccess.h"

#include <string>
#include <utility>
#include <vector>

namespace
{
    // Super I/O configuration registers that lead to the EC's indirect registers.
    constexpr BYTE SIO_INDIRECT_SELECT = 0x2E;
    constexpr BYTE SIO_INDIRECT_DATA = 0x2F;
    // The EC's indirect-access registers.
    constexpr BYTE EC_ADDRESS_LOW = 0x10;
    constexpr BYTE EC_ADDRESS_HIGH = 0x11;
    constexpr BYTE EC_DATA = 0x12;

    constexpr WORD CHIP_ID_ADDRESS = 0x2000;   // two identification bytes
    constexpr WORD CHIP_CONTROL_ADDRESS = 0x1060;
    constexpr int RAM_BASE_IT557X = 0xC400;
    constexpr int RAM_BASE_OTHER = 0x0400;

    // The full path of a loaded module (nullptr: the program), however long; empty on failure.
    std::wstring ModulePath(HMODULE hModule)
    {
        std::vector<wchar_t> buffer(MAX_PATH);
        for (;;)
        {
            const DWORD dwLength = GetModuleFileNameW(hModule, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (dwLength == 0)
                return std::wstring();
            if (dwLength < buffer.size())
                return std::wstring(buffer.data(), dwLength);
            buffer.resize(buffer.size() * 2);
        }
    }

    std::wstring ExecutableFolder()
    {
        const std::wstring strPath = ModulePath(nullptr);
        return strPath.empty() ? strPath : strPath.substr(0, strPath.find_last_of(L'\\') + 1);
    }

    std::wstring SystemFolder()
    {
        wchar_t szPath[MAX_PATH];
        const UINT nLength = GetSystemDirectoryW(szPath, MAX_PATH);
        return nLength > 0 && nLength < MAX_PATH ? std::wstring(szPath, nLength) + L"\\" : std::wstring();
    }

    // io.dll is not a system library, so the usual search would also take a copy
    // planted in the current folder or on PATH. Only the program's own folder and
    // the system folder are trusted. The loader's restricted search is asked first:
    // it also finds the library beside a program installed deeper than MAX_PATH.
    // Systems without it (Windows 7 lacking its loader update) reject the flags,
    // and get the two folders named by full path instead. On failure dwError says
    // why; a library that is there but cannot be loaded (built for the other
    // processor width, say) says more than one that is not there.
    HMODULE LoadPortLibrary(DWORD& dwError)
    {
        if (HMODULE hModule =
                LoadLibraryExW(L"io.dll", nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32))
            return hModule;
        dwError = GetLastError();
        if (dwError != ERROR_INVALID_PARAMETER)
            return nullptr;
        dwError = ERROR_MOD_NOT_FOUND;
        for (const std::wstring& strFolder : EcAccess::LibraryFolders())
        {
            if (HMODULE hModule =
                    LoadLibraryExW((strFolder + L"io.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
                return hModule;
            if (dwError == ERROR_MOD_NOT_FOUND)
                dwError = GetLastError();
        }
        return nullptr;
    }

    // GetProcAddress gives every export one type; the caller names the real one.
    template <typename PFN> PFN BindExport(HMODULE hModule, const char* pszName)
    {
        return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
    }

}   // namespace

EcAccess::EcAccess(DWORD dwProbeWaitLimitMs, DWORD dwAccessWaitLimitMs)
    : m_nEcRamBase(RAM_BASE_OTHER),
      m_dwAccessWaitLimitMs(dwAccessWaitLimitMs),
      m_pfnOut32(nullptr),
      m_pfnInp32(nullptr),
      m_pfnIsInpOutDriverOpen(nullptr),
      m_pfnIsXP64Bit(nullptr),
      m_wSioIndexPort(0x4E),
      m_state(State::LibraryMissing),
      m_dwLoadError(ERROR_SUCCESS),
      m_byChipId{0, 0}
{
    m_state = Open(dwProbeWaitLimitMs);
}

std::vector<std::wstring> EcAccess::LibraryFolders()
{
    std::vector<std::wstring> folders;
    for (const std::wstring& strFolder : {ExecutableFolder(), SystemFolder()})
    {
        if (!strFolder.empty())
            folders.push_back(strFolder);
    }
    return folders;
}

std::wstring EcAccess::LibraryPath() const
{
    return m_hIoDll ? ModulePath(m_hIoDll.Get()) : std::wstring();
}

// Each step only when the one before succeeded. The probe's three accesses
// are one turn on the ports, so its wait limit is for all of them. Once it
// has the turn the probe cannot fail: its accesses go straight to the ports.
EcAccess::State EcAccess::Open(DWORD dwProbeWaitLimitMs)
{
    const State state = BindLibrary();
    if (state != State::Ready)
        return state;
    // Without its driver the library cannot reach a port: nothing to do here.
    if (!m_pfnIsInpOutDriverOpen())
        return State::DriverClosed;
    if (m_mutexIsaBus.OpenError() != ERROR_SUCCESS)
        return State::PortMutexUnavailable;
    const IsaBusMutex::Turn turn = TakeTurn(dwProbeWaitLimitMs);
    if (!turn)
        return State::PortsBusy;
    ProbeChip();
    return State::Ready;
}

// All four exports are looked up, so a failure can name every one that is missing.
EcAccess::State EcAccess::BindLibrary()
{
    m_hIoDll.Reset(LoadPortLibrary(m_dwLoadError));
    if (!m_hIoDll)
        return State::LibraryMissing;
    m_pfnOut32 = BindExport<PFN_OUT32>(m_hIoDll.Get(), "Out32");
    m_pfnInp32 = BindExport<PFN_INP32>(m_hIoDll.Get(), "Inp32");
    m_pfnIsInpOutDriverOpen = BindExport<PFN_QUERY>(m_hIoDll.Get(), "IsInpOutDriverOpen");
    m_pfnIsXP64Bit = BindExport<PFN_QUERY>(m_hIoDll.Get(), "IsXP64Bit");
    const std::pair<const char*, bool> exports[] = {
        {"Out32", m_pfnOut32 != nullptr},
        {"Inp32", m_pfnInp32 != nullptr},
        {"IsInpOutDriverOpen", m_pfnIsInpOutDriverOpen != nullptr},
        {"IsXP64Bit", m_pfnIsXP64Bit != nullptr}};
    for (const auto& [pszName, bBound] : exports)
    {
        if (!bBound)
            m_missingExports.emplace_back(pszName);
    }
    return m_missingExports.empty() ? State::Ready : State::ExportMissing;
}

// The EC RAM block sits at a different place on IT5570/IT5571 chips; the byte
// at 0x1060 is set to match on both branches. Runs in the probe's turn.
void EcAccess::ProbeChip()
{
    m_byChipId[0] = ReadPorts(CHIP_ID_ADDRESS);
    m_byChipId[1] = ReadPorts(CHIP_ID_ADDRESS + 1);
    const bool bIt557x = m_byChipId[0] == 0x55 && (m_byChipId[1] == 0x70 || m_byChipId[1] == 0x71);
    m_nEcRamBase = bIt557x ? RAM_BASE_IT557X : RAM_BASE_OTHER;
    WritePorts(CHIP_CONTROL_ADDRESS, bIt557x ? 0x80 : 0x00);
}

// One step of an indexed sequence: select a configuration register, then
// write its data port.
void EcAccess::WriteConfigRegister(BYTE byRegister, BYTE byValue)
{
    m_pfnOut32(static_cast<short>(m_wSioIndexPort), byRegister);
    m_pfnOut32(static_cast<short>(static_cast<WORD>(m_wSioIndexPort + 1)), byValue);
}

// The first five steps, shared by reads and writes: the address's high byte,
// its low byte, then the selection of the data register.
void EcAccess::SelectEcAddress(WORD wAddress)
{
    WriteConfigRegister(SIO_INDIRECT_SELECT, EC_ADDRESS_HIGH);
    WriteConfigRegister(SIO_INDIRECT_DATA, static_cast<BYTE>(wAddress >> 8));
    WriteConfigRegister(SIO_INDIRECT_SELECT, EC_ADDRESS_LOW);
    WriteConfigRegister(SIO_INDIRECT_DATA, static_cast<BYTE>(wAddress & 0xFF));
    WriteConfigRegister(SIO_INDIRECT_SELECT, EC_DATA);
}

BYTE EcAccess::ReadPorts(WORD wAddress)
{
    SelectEcAddress(wAddress);
    m_pfnOut32(static_cast<short>(m_wSioIndexPort), SIO_INDIRECT_DATA);
    // Only the low byte is the port's answer; the library may leave the rest undefined.
    return static_cast<BYTE>(m_pfnInp32(static_cast<short>(static_cast<WORD>(m_wSioIndexPort + 1))) & 0xFF);
}

void EcAccess::WritePorts(WORD wAddress, BYTE byValue)
{
    SelectEcAddress(wAddress);
    WriteConfigRegister(SIO_INDIRECT_DATA, byValue);
}

// An object that is not Ready may not use the ports (no library or driver, no
// mutex to share them by, or no probe made): it waits for no turn.
std::optional<BYTE> EcAccess::ReadEcByte(WORD wAddress)
{
    if (m_state != State::Ready)
        return std::nullopt;
    const IsaBusMutex::Turn turn = TakeTurn(m_dwAccessWaitLimitMs);
    if (!turn)
        return std::nullopt;
    return ReadPorts(wAddress);
}

bool EcAccess::WriteEcByte(WORD wAddress, BYTE byValue)
{
    if (m_state != State::Ready)
        return false;
    const IsaBusMutex::Turn turn = TakeTurn(m_dwAccessWaitLimitMs);
    if (!turn)
        return false;
    WritePorts(wAddress, byValue);
    return true;
}

std::optional<BYTE> EcAccess::ReadRamByte(int nOffset)
{
    return ReadEcByte(RamAddress(nOffset));
}

bool EcAccess::WriteRamByte(int nOffset, BYTE byValue)
{
    return WriteEcByte(RamAddress(nOffset), byValue);
}
