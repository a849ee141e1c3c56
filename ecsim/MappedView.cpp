#include "ecsim/MappedView.h"

bool MappedView::Map(HANDLE hFile, DWORD dwSize, const char* pszName)
{
    m_view.Reset();
    m_hMapping.Reset(CreateFileMappingA(hFile, nullptr, PAGE_READWRITE, 0, dwSize, pszName));
    if (!m_hMapping)
        return false;
    m_view.Reset(static_cast<BYTE*>(MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, dwSize)));
    return static_cast<bool>(m_view);
}
