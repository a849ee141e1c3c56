#include "EcStateView.h"

EcStateView::~EcStateView()
{
    Close();
}

std::string EcStateView::DefaultPath(const std::string& strFolder)
{
    char szPath[MAX_PATH];
    const DWORD cch = GetEnvironmentVariableA("ECSIM_STATE", szPath, MAX_PATH);
    if (cch > 0 && cch < MAX_PATH)
        return szPath;
    return strFolder + "\\ecsim-state.bin";
}

bool EcStateView::Open(const std::string& strPath)
{
    Close();
    // Share everything: the simulator and the program keep the file open for writing.
    m_hFile = CreateFileA(
        strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr
    );
    if (m_hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_hFile, &size) || size.QuadPart != STATE_SIZE)
    {
        Close();
        return false;
    }
    m_hMapping = CreateFileMappingA(m_hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m_hMapping)
        m_pbyView = static_cast<const volatile BYTE*>(MapViewOfFile(m_hMapping, FILE_MAP_READ, 0, 0, 0));
    if (!m_pbyView)
    {
        Close();
        return false;
    }
    return true;
}

WORD EcStateView::RamBase() const
{
    const BYTE id1 = At(CHIP_ID_ADDR), id2 = At(CHIP_ID_ADDR + 1);
    return (id1 == 0x55 && (id2 == 0x70 || id2 == 0x71)) ? 0xC400 : 0x0400;
}

void EcStateView::Close()
{
    if (m_pbyView)
        UnmapViewOfFile(const_cast<BYTE*>(m_pbyView));
    if (m_hMapping)
        CloseHandle(m_hMapping);
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_pbyView = nullptr;
    m_hMapping = nullptr;
    m_hFile = INVALID_HANDLE_VALUE;
}
