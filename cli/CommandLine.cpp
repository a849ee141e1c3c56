#include "cli/CommandLine.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <iterator>

#include "cli/ModeName.h"

namespace
{
    bool SameWord(const std::wstring& strArg, const wchar_t* pszWord)
    {
        return CompareStringOrdinal(strArg.c_str(), static_cast<int>(strArg.size()), pszWord, -1, TRUE) == CSTR_EQUAL;
    }

    bool IsHelpSwitch(const std::wstring& strArg)
    {
        return SameWord(strArg, L"--help") || SameWord(strArg, L"-h") || SameWord(strArg, L"/?");
    }

    // Decimal digits only, 1 to UINT_MAX: no sign, no spaces, no hex.
    std::optional<unsigned> ParseCount(const std::wstring& strText)
    {
        if (strText.empty())
            return std::nullopt;
        unsigned long long nValue = 0;
        for (wchar_t ch : strText)
        {
            if (ch < L'0' || ch > L'9')
                return std::nullopt;
            nValue = nValue * 10 + static_cast<unsigned>(ch - L'0');
            if (nValue > UINT_MAX)
                return std::nullopt;
        }
        if (nValue == 0)
            return std::nullopt;
        return static_cast<unsigned>(nValue);
    }

    struct CommandWord
    {
        const wchar_t* pszWord;
        CommandLine::Command command;
    };

    constexpr CommandWord COMMANDS[] = {
        {L"--version", CommandLine::Command::Version}, {L"status", CommandLine::Command::Status},
        {L"mode", CommandLine::Command::Mode},         {L"power", CommandLine::Command::Power},
        {L"watch", CommandLine::Command::Watch},
    };
}

bool CommandLine::Parse(const std::vector<std::wstring>& args)
{
    // A request for help wins wherever it stands: it is what the user wants to see.
    if (std::any_of(args.begin(), args.end(), IsHelpSwitch))
    {
        m_command = Command::Help;
        return true;
    }
    if (args.empty())
        return Fail(L"no command given");
    const auto it = std::find_if(std::begin(COMMANDS), std::end(COMMANDS), [&](const CommandWord& word) {
        return SameWord(args[0], word.pszWord);
    });
    if (it == std::end(COMMANDS))
        return Fail(L"unknown command '" + args[0] + L"'");
    m_command = it->command;
    if (m_command == Command::Watch)
        return ParseWatchOptions(args);
    const size_t nWords = m_command == Command::Mode ? 2 : 1;   // the command and its mode name
    if (args.size() < nWords)
        return Fail(L"'mode' needs a mode name");
    if (args.size() > nWords)
        return Fail(L"unexpected '" + args[nWords] + L"' after '" + args[nWords - 1] + L"'");
    if (m_command == Command::Mode)
    {
        const std::optional<LedMode> mode = ModeName::Parse(args[1]);
        if (!mode)
            return Fail(L"unknown mode '" + args[1] + L"'");
        m_mode = *mode;
    }
    return true;
}

// watch [--count N], also written --count=N.
bool CommandLine::ParseWatchOptions(const std::vector<std::wstring>& args)
{
    static const std::wstring COUNT_EQUALS = L"--count=";
    for (size_t nArg = 1; nArg < args.size(); ++nArg)
    {
        std::wstring strValue;
        if (SameWord(args[nArg], L"--count"))
        {
            if (++nArg == args.size())
                return Fail(L"'--count' needs a number of lines");
            strValue = args[nArg];
        }
        else if (args[nArg].size() >= COUNT_EQUALS.size() &&
                 SameWord(args[nArg].substr(0, COUNT_EQUALS.size()), COUNT_EQUALS.c_str()))
            strValue = args[nArg].substr(COUNT_EQUALS.size());
        else
            return Fail(L"unexpected '" + args[nArg] + L"' after 'watch'");
        if (m_count)
            return Fail(L"'--count' given twice");
        m_count = ParseCount(strValue);
        if (!m_count)
            return Fail(L"'" + strValue + L"' is not a number of lines from 1 up");
    }
    return true;
}

bool CommandLine::Fail(const std::wstring& strError)
{
    m_strError = strError;
    return false;
}

const wchar_t* CommandLine::UsageText()
{
    return L"Usage: velkorctl COMMAND\r\n"
           L"Sets and reads the keyboard light through io.dll, as Velkor does.\r\n"
           L"\r\n"
           L"Commands:\r\n"
           L"  status             io.dll's path, driver, chip id, EC RAM base, mode and power level\r\n"
           L"  mode NAME          sets the keyboard light mode; NAME is auto, on, rainbow,\r\n"
           L"                     breath or colorloop (any letter case), or 0 to 4\r\n"
           L"  power              the EC's power level\r\n"
           L"  watch [--count N]  the power level now and whenever it changes (checked\r\n"
           L"                     every 500 ms), until Ctrl+C or N lines\r\n"
           L"  --help             this text\r\n"
           L"  --version          the version\r\n"
           L"\r\n"
           L"Exit status: 0 done, 1 the output could not be written (after mode has\r\n"
           L"changed the light: 0, with the error on standard error), 2 wrong usage,\r\n"
           L"3 io.dll missing or lacking an export, 4 io.dll's driver not open,\r\n"
           L"5 the EC ports could not be had: another program kept the port mutex for\r\n"
           L"over 1 second (for watch, 5 seconds), or the mutex can be neither created\r\n"
           L"nor opened. The light was not changed then. Done before, and not undone:\r\n"
           L"the start-up probe (chip id read, EC byte 0x1060 written) unless the ports\r\n"
           L"could not be had for it either, and any reads of status and watch.\r\n";
}
