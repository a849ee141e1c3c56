#pragma once
#include <optional>
#include <string>
#include <vector>

#include "ec/LedMode.h"

// What velkorctl is asked to do, taken from its arguments before anything
// touches io.dll. Commands, mode names and options match in any letter case.
class CommandLine
{
public:
    enum class Command
    {
        Help,
        Version,
        Status,
        Mode,
        Power,
        Watch
    };

    // The arguments after the program's name. False on wrong usage, with the
    // reason in Error().
    bool Parse(const std::vector<std::wstring>& args);

    Command GetCommand() const { return m_command; }
    LedMode Mode() const { return m_mode; }
    // How many lines watch prints; none: until Ctrl+C.
    std::optional<unsigned> Count() const { return m_count; }
    const std::wstring& Error() const { return m_strError; }

    static const wchar_t* UsageText();

private:
    bool ParseWatchOptions(const std::vector<std::wstring>& args);
    bool Fail(const std::wstring& strError);

    Command m_command = Command::Help;
    LedMode m_mode = LedMode::Auto;
    std::optional<unsigned> m_count;
    std::wstring m_strError;
};
