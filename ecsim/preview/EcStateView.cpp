#include "EcStateView.h"

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
    m_hFile.Reset(CreateFileA(
        strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr
    ));
    if (!m_hFile)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_hFile.Get(), &size) || size.QuadPart != STATE_SIZE)
    {
        Close();
        return false;
    }
    m_hMapping.Reset(CreateFileMappingA(m_hFile.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (m_hMapping)
        m_view.Reset(static_cast<BYTE*>(MapViewOfFile(m_hMapping.Get(), FILE_MAP_READ, 0, 0, 0)));
    if (!m_view)
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
    m_view.Reset();
    m_hMapping.Reset();
    m_hFile.Reset();
}
