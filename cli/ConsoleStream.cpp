#include "cli/ConsoleStream.h"

#include <vector>

ConsoleStream::ConsoleStream(DWORD dwStdHandle)
    : m_hOutput(GetStdHandle(dwStdHandle)),
      m_bConsole(false),
      m_dwLastError(ERROR_SUCCESS)
{
    DWORD dwMode = 0;
    m_bConsole = m_hOutput != nullptr && m_hOutput != INVALID_HANDLE_VALUE && GetConsoleMode(m_hOutput, &dwMode);
}

bool ConsoleStream::Write(const std::wstring& strText)
{
    if (m_hOutput == nullptr || m_hOutput == INVALID_HANDLE_VALUE)
        return Fail(ERROR_INVALID_HANDLE);   // started without this stream
    if (strText.empty())
        return true;
    const int nLength = static_cast<int>(strText.size());
    if (m_bConsole)
    {
        DWORD dwWritten = 0;
        if (!WriteConsoleW(m_hOutput, strText.c_str(), static_cast<DWORD>(nLength), &dwWritten, nullptr))
            return Fail(GetLastError());
        return dwWritten == static_cast<DWORD>(nLength) || Fail(ERROR_WRITE_FAULT);
    }
    const UINT nCodePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : CP_UTF8;
    const int nBytes = WideCharToMultiByte(nCodePage, 0, strText.c_str(), nLength, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return Fail(GetLastError());
    std::vector<char> bytes(static_cast<size_t>(nBytes));
    WideCharToMultiByte(nCodePage, 0, strText.c_str(), nLength, bytes.data(), nBytes, nullptr, nullptr);
    DWORD dwWritten = 0;
    if (!WriteFile(m_hOutput, bytes.data(), static_cast<DWORD>(nBytes), &dwWritten, nullptr))
        return Fail(GetLastError());
    return dwWritten == static_cast<DWORD>(nBytes) || Fail(ERROR_WRITE_FAULT);
}

bool ConsoleStream::Fail(DWORD dwError)
{
    m_dwLastError = dwError;
    return false;
}
