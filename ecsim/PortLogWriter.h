#pragma once
#include <windows.h>

#include <string>

#include "ecsim/SimHandle.h"

// Appends one text line per port access ("OUT 004E 2E") to a file that
// several processes may write at once.
class PortLogWriter
{
public:
    bool Open(const std::string& strPath);
    bool IsOpen() const { return static_cast<bool>(m_hFile); }
    void Record(const char* pszDirection, WORD wPort, BYTE byValue);

private:
    SimKernelHandle m_hFile;
    SimKernelHandle m_hMutex;   // one writer at a time, across processes
};
