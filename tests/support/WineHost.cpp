#include "tests/support/WineHost.h"

#include "tests/support/Text.h"

namespace
{
    HMODULE Ntdll()
    {
        return GetModuleHandleW(L"ntdll.dll");
    }

    // One argument of a Windows command line, which Wine splits into the Unix
    // program's argv: in double quotes, with backslashes doubled where they
    // come before a quote.
    std::wstring CommandLineArgument(const std::wstring& strArg)
    {
        std::wstring strOut = L"\"";
        size_t nBackslashes = 0;
        for (wchar_t c : strArg)
        {
            if (c == L'\\')
            {
                ++nBackslashes;
                continue;
            }
            strOut.append(c == L'"' ? nBackslashes * 2 + 1 : nBackslashes, L'\\');
            nBackslashes = 0;
            strOut.push_back(c);
        }
        strOut.append(nBackslashes * 2, L'\\');
        return strOut + L"\"";
    }
}

namespace WineHost
{
    bool IsWine()
    {
        return GetProcAddress(Ntdll(), "wine_get_version") != nullptr;
    }

    std::string UnixPath(const std::wstring& strWindowsPath)
    {
        using UnixFileName = char*(CDECL*)(const wchar_t*);
        auto pfnUnixName = reinterpret_cast<UnixFileName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"))
        );
        if (!pfnUnixName)
            return {};
        char* pszUnix = pfnUnixName(strWindowsPath.c_str());
        if (!pszUnix)
            return {};
        std::string strUnix = pszUnix;
        HeapFree(GetProcessHeap(), 0, pszUnix);
        return strUnix;
    }

    bool RunShellCommand(const std::string& strCommand)
    {
        // Wine runs a Unix program given by its Unix path; it hands back no
        // process handle for it.
        std::wstring strLine = L"/bin/sh -c " + CommandLineArgument(Text::FromUtf8(strCommand));
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(nullptr, strLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        if (pi.hProcess)
            CloseHandle(pi.hProcess);
        if (pi.hThread)
            CloseHandle(pi.hThread);
        return true;
    }

    std::string ShellQuote(const std::string& str)
    {
        std::string strQuoted = "'";
        for (char c : str)
            strQuoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return strQuoted + "'";
    }
}
