#pragma once
#include <windows.h>

#include "ecsim/SimHandle.h"

// A file mapping with one read/write view of its whole size. Mapping a real
// file shares its bytes with every process that maps the same file; mapping
// INVALID_HANDLE_VALUE under a name shares a page-file section instead.
class MappedView
{
public:
    bool Map(HANDLE hFile, DWORD dwSize, const char* pszName);
    BYTE* Data() const { return m_view.Get(); }

private:
    SimKernelHandle m_hMapping;
    SimView m_view;   // declared after the mapping, so unmapped before it is closed
};
