#include "ecsim/PortLog.h"

#include <cstdio>

bool PortLog::Open(const std::string& strPath)
{
    // Append-only access makes the system put every write at the current end
    // of the file, whoever else appends; one write per line keeps lines whole.
    m_hFile.Reset(CreateFileA(strPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_hFile.IsValid();
}

void PortLog::Record(const char* pszDirection, WORD wPort, BYTE byValue)
{
    char szLine[32];
    const int nLength = std::snprintf(szLine, sizeof szLine, "%s %04X %02X\n", pszDirection, wPort, byValue);
    DWORD dwWritten = 0;
    WriteFile(m_hFile.Get(), szLine, static_cast<DWORD>(nLength), &dwWritten, nullptr);
}
