#pragma once
#include <windows.h>

#include "ecsim/ScopedHandle.h"

// A file mapping with one read/write view of its whole size. Mapping a real
// file shares its bytes with every process that maps the same file; mapping
// INVALID_HANDLE_VALUE under a name shares a page-file section instead.
class MappedView
{
public:
    MappedView() = default;
    ~MappedView();
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    bool Map(HANDLE hFile, DWORD dwSize, const char* pszName);
    BYTE* Data() const { return m_pbyView; }

private:
    ScopedHandle m_hMapping;
    BYTE* m_pbyView = nullptr;
};
