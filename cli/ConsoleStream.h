#pragma once
#include <windows.h>

#include <string>

// Standard output or standard error, written without buffering, so each line
// is out as soon as it is written, even into a pipe. On a console the text
// goes out as UTF-16 (WriteConsoleW) and shows right whatever the code page.
// Redirected, it is encoded in the console's output code page when the
// process has a console, since that is what cmd and PowerShell decode a
// program's piped output with; without a console (started by a scheduler or
// a service) in UTF-8. Characters that code page lacks become '?'; velkorctl's
// own texts are plain ASCII, only paths and echoed arguments can hold others.
class ConsoleStream
{
public:
    explicit ConsoleStream(DWORD dwStdHandle);
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;

    // False when the text could not be written (no stream, a closed pipe, a
    // full disk); LastError then says why, as a system error code.
    bool Write(const std::wstring& strText);
    bool WriteLine(const std::wstring& strLine) { return Write(strLine + L"\r\n"); }
    DWORD LastError() const { return m_dwLastError; }

private:
    bool Fail(DWORD dwError);

    HANDLE m_hOutput;
    bool m_bConsole;
    DWORD m_dwLastError;
};
