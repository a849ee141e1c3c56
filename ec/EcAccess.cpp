#include "ec/EcAccess.h"

#include <string>
#include <vector>

namespace {

// Super I/O configuration registers that lead to the EC's indirect registers.
constexpr BYTE SIO_INDIRECT_SELECT = 0x2E;
constexpr BYTE SIO_INDIRECT_DATA = 0x2F;
// The EC's indirect-access registers.
constexpr BYTE EC_ADDRESS_LOW = 0x10;
constexpr BYTE EC_ADDRESS_HIGH = 0x11;
constexpr BYTE EC_DATA = 0x12;

constexpr WORD CHIP_ID_ADDRESS = 0x2000; // two identification bytes
constexpr WORD CHIP_CONTROL_ADDRESS = 0x1060;
constexpr int RAM_BASE_IT557X = 0xC400;
constexpr int RAM_BASE_OTHER = 0x0400;

std::string ExecutableFolder()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD dwLength = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (dwLength == 0)
            return std::string();
        if (dwLength < buffer.size()) {
            const std::string strPath(buffer.data(), dwLength);
            return strPath.substr(0, strPath.find_last_of('\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string SystemFolder()
{
    char szPath[MAX_PATH];
    const UINT nLength = GetSystemDirectoryA(szPath, MAX_PATH);
    return nLength > 0 && nLength < MAX_PATH ? std::string(szPath, nLength) + "\\" : std::string();
}

// io.dll is not a system library, so the usual search would also take a copy
// planted in the current folder or on PATH. Only the program's own folder and
// the system folder are trusted. The loader's restricted search is asked first:
// it also finds the library beside a program installed deeper than MAX_PATH.
// Systems without it (Windows 7 lacking its loader update) reject the flags,
// and get the two folders named by full path instead.
HMODULE LoadPortLibrary()
{
    if (HMODULE hModule = LoadLibraryExA("io.dll", nullptr,
                                         LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32))
        return hModule;
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    for (const std::string& strFolder : {ExecutableFolder(), SystemFolder()}) {
        if (strFolder.empty())
            continue;
        if (HMODULE hModule = LoadLibraryExA((strFolder + "io.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
            return hModule;
    }
    return nullptr;
}

// GetProcAddress gives every export one type; the caller names the real one.
template <typename PFN>
PFN BindExport(HMODULE hModule, const char* pszName)
{
    return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

} // namespace

EcAccess::EcAccess()
    : m_nEcRamBase(RAM_BASE_OTHER),
      m_bDriverOpen(false),
      m_hIoDll(nullptr),
      m_pfnOut32(nullptr),
      m_pfnInp32(nullptr),
      m_pfnIsInpOutDriverOpen(nullptr),
      m_pfnIsXP64Bit(nullptr),
      m_wSioIndexPort(0x4E)
{
    BindLibrary();
    // Without its driver the library cannot reach a port: nothing to do here.
    if (!m_pfnIsInpOutDriverOpen())
        ExitProcess(0);
    m_bDriverOpen = true;
    ProbeChip();
}

// Ends the process, quietly, when the library or any of its four exports is missing.
void EcAccess::BindLibrary()
{
    m_hIoDll = LoadPortLibrary();
    if (m_hIoDll == nullptr)
        ExitProcess(0);
    m_pfnOut32 = BindExport<PFN_OUT32>(m_hIoDll, "Out32");
    m_pfnInp32 = BindExport<PFN_INP32>(m_hIoDll, "Inp32");
    m_pfnIsInpOutDriverOpen = BindExport<PFN_QUERY>(m_hIoDll, "IsInpOutDriverOpen");
    m_pfnIsXP64Bit = BindExport<PFN_QUERY>(m_hIoDll, "IsXP64Bit");
    if (!m_pfnOut32 || !m_pfnInp32 || !m_pfnIsInpOutDriverOpen || !m_pfnIsXP64Bit)
        ExitProcess(0);
}

// The EC RAM block sits at a different place on IT5570/IT5571 chips; the byte
// at 0x1060 is set to match on both branches.
void EcAccess::ProbeChip()
{
    const BYTE byId1 = ReadEcByte(CHIP_ID_ADDRESS);
    const BYTE byId2 = ReadEcByte(CHIP_ID_ADDRESS + 1);
    if (byId1 == 0x55 && (byId2 == 0x70 || byId2 == 0x71)) {
        m_nEcRamBase = RAM_BASE_IT557X;
        WriteEcByte(CHIP_CONTROL_ADDRESS, 0x80);
    } else {
        m_nEcRamBase = RAM_BASE_OTHER;
        WriteEcByte(CHIP_CONTROL_ADDRESS, 0x00);
    }
}

// One step of an indexed sequence: select a configuration register, then
// write its data port. m_bDriverOpen is set once, in the constructor, and
// never cleared (without a driver the process has ended), so the check before
// each step only ever stops an object whose driver never opened.
bool EcAccess::WriteConfigRegister(BYTE byRegister, BYTE byValue)
{
    if (!m_bDriverOpen)
        return false;
    m_pfnOut32(static_cast<short>(m_wSioIndexPort), byRegister);
    m_pfnOut32(static_cast<short>(static_cast<WORD>(m_wSioIndexPort + 1)), byValue);
    return true;
}

// The first five steps, shared by reads and writes: the address's high byte,
// its low byte, then the selection of the data register.
bool EcAccess::SelectEcAddress(WORD wAddress)
{
    return WriteConfigRegister(SIO_INDIRECT_SELECT, EC_ADDRESS_HIGH) &&
           WriteConfigRegister(SIO_INDIRECT_DATA, static_cast<BYTE>(wAddress >> 8)) &&
           WriteConfigRegister(SIO_INDIRECT_SELECT, EC_ADDRESS_LOW) &&
           WriteConfigRegister(SIO_INDIRECT_DATA, static_cast<BYTE>(wAddress & 0xFF)) &&
           WriteConfigRegister(SIO_INDIRECT_SELECT, EC_DATA);
}

BYTE EcAccess::ReadEcByte(WORD wAddress)
{
    IsaBusMutex::Turn turn(m_mutexIsaBus);
    if (!SelectEcAddress(wAddress) || !m_bDriverOpen)
        return 0;
    m_pfnOut32(static_cast<short>(m_wSioIndexPort), SIO_INDIRECT_DATA);
    // Only the low byte is the port's answer; the library may leave the rest undefined.
    return static_cast<BYTE>(m_pfnInp32(static_cast<short>(static_cast<WORD>(m_wSioIndexPort + 1))) & 0xFF);
}

void EcAccess::WriteEcByte(WORD wAddress, BYTE byValue)
{
    IsaBusMutex::Turn turn(m_mutexIsaBus);
    if (SelectEcAddress(wAddress))
        WriteConfigRegister(SIO_INDIRECT_DATA, byValue);
}
