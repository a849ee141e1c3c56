#pragma once
#include <windows.h>

#include <string>

#include "ecsim/ScopedHandle.h"

// Appends one text line per port access ("OUT 004E 2E") to a file that
// several processes may write at once.
class PortLogWriter
{
public:
    bool Open(const std::string& strPath);
    bool IsOpen() const { return m_hFile.IsValid(); }
    void Record(const char* pszDirection, WORD wPort, BYTE byValue);

private:
    ScopedHandle m_hFile;
    ScopedHandle m_hMutex;   // one writer at a time, across processes
};
