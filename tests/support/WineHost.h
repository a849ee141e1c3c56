#pragma once
// What the tests need to know about running under Wine. Wine cannot start a
// program whose path is MAX_PATH or longer through CreateProcess, but its own
// `wine` command can; these helpers start such a program that way.
#include <windows.h>

#include <string>

namespace WineHost
{
    bool IsWine();

    // The Unix path of a Windows path (Wine only); empty when it has none.
    std::string UnixPath(const std::wstring& strWindowsPath);

    // Runs a command line with the Unix shell, in the background (Wine only).
    // The shell inherits this process's Unix environment (WINEPREFIX, LC_ALL).
    bool RunShellCommand(const std::string& strCommand);

    // A shell word: the text in single quotes, safe for any character.
    std::string ShellQuote(const std::string& str);
}
