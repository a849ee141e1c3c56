#include "ecsim/MappedView.h"

MappedView::~MappedView()
{
    if (m_pbyView != nullptr)
        UnmapViewOfFile(m_pbyView);
}

bool MappedView::Map(HANDLE hFile, DWORD dwSize, const char* pszName)
{
    m_hMapping.Reset(CreateFileMappingA(hFile, nullptr, PAGE_READWRITE, 0, dwSize, pszName));
    if (!m_hMapping.IsValid())
        return false;
    m_pbyView = static_cast<BYTE*>(MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, dwSize));
    return m_pbyView != nullptr;
}
