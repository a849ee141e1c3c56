#include "ecsim/PortLogWriter.h"

#include <cstdio>

#include "ecsim/SimConfig.h"

bool PortLogWriter::Open(const std::string& strPath)
{
    // Append-only access puts every write at the end of the file, one write
    // per line keeps lines whole. Wine does not make such appends atomic
    // between processes (lines get lost), so a mutex named after the file
    // lets one process append at a time.
    m_hFile.Reset(CreateFileA(
        strPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr
    ));
    m_hMutex.Reset(CreateMutexA(nullptr, FALSE, SimConfig::SharedObjectName("log", strPath).c_str()));
    return m_hFile && m_hMutex;
}

void PortLogWriter::Record(const char* pszDirection, WORD wPort, BYTE byValue)
{
    char szLine[32];
    const int nLength = std::snprintf(szLine, sizeof szLine, "%s %04X %02X\n", pszDirection, wPort, byValue);
    DWORD dwWritten = 0;
    // WAIT_ABANDONED: a writer died between two lines; the file is whole.
    WaitForSingleObject(m_hMutex.Get(), INFINITE);
    WriteFile(m_hFile.Get(), szLine, static_cast<DWORD>(nLength), &dwWritten, nullptr);
    ReleaseMutex(m_hMutex.Get());
}
