#include "tests/support/TempFolder.h"

#include "tests/support/FileSystem.h"

#include <windows.h>

#include <atomic>
#include <exception>

TempFolder::TempFolder()
{
    static std::atomic<unsigned> s_nSerial{0};
    wchar_t szTemp[MAX_PATH + 1];
    DWORD dwLen = GetTempPathW(MAX_PATH + 1, szTemp);
    std::wstring strBase(szTemp, dwLen);
    if (!strBase.empty() && strBase.back() == L'\\')
        strBase.pop_back();
    m_strPath = strBase + L"\\velkor-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++s_nSerial);
    FileSystem::Remove(m_strPath);
    FileSystem::CreateFolders(m_strPath);
}

TempFolder::~TempFolder()
{
    // A process that still holds a file open makes the removal fail; a test must
    // not end with an exception from a destructor, so what is left stays behind.
    try
    {
        FileSystem::Remove(m_strPath);
    }
    catch (const std::exception&)
    {}
}
