#include "cli/CommandRunner.h"

#include <cwchar>
#include <iterator>
#include <optional>
#include <string>

#include "cli/ConsoleStream.h"
#include "cli/CtrlBreak.h"
#include "cli/ModeName.h"
#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"
#include "ec/IsaBusMutex.h"
#include "ec/LedMode.h"

namespace
{
    // As often as the window polls the power level.
    constexpr DWORD WATCH_PERIOD_MS = 500;
    // How long each EC access (and a mode change's two bytes together) waits
    // for another program to let go of the ports; then it is not made.
    constexpr DWORD ACCESS_WAIT_LIMIT_MS = 1000;
    // watch skips a poll that cannot have the ports, as the window does, and
    // gives up when it has had none for this long (its probe waits as long).
    constexpr DWORD WATCH_WAIT_LIMIT_MS = 5000;

    std::wstring Hex(unsigned nValue, int nDigits)
    {
        wchar_t szText[16];
        std::swprintf(szText, std::size(szText), L"%0*X", nDigits, nValue);
        return szText;
    }

    std::wstring ModeLine(BYTE byMode)
    {
        return L"mode: " + std::to_wstring(byMode) + L" " + ModeName::Of(byMode);
    }

    std::wstring PowerLine(BYTE byLevel)
    {
        return L"power level: " + std::to_wstring(byLevel);
    }

    // The system's own words for an error, without the line end they come
    // with; "%1" in them stands for pszInsert.
    std::wstring ErrorText(DWORD dwError, const wchar_t* pszInsert = L"it")
    {
        wchar_t* pszText = nullptr;
        const DWORD dwLength = FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            dwError, 0, reinterpret_cast<wchar_t*>(&pszText), 0, nullptr
        );
        std::wstring strText = dwLength > 0 ? std::wstring(pszText, dwLength) : std::wstring();
        LocalFree(pszText);
        strText.erase(strText.find_last_not_of(L" \r\n.") + 1);
        if (const size_t nInsert = strText.find(L"%1"); nInsert != std::wstring::npos)
            strText.replace(nInsert, 2, pszInsert);
        return L"error " + std::to_wstring(dwError) + (strText.empty() ? L"" : L": " + strText);
    }

    std::wstring MutexName()
    {
        const std::string strName = IsaBusMutex::NAME;
        return std::wstring(strName.begin(), strName.end());
    }

    // Why the port mutex can be neither created nor opened, and what follows.
    std::wstring PortMutexUnavailable(DWORD dwError)
    {
        std::wstring strReason;
        if (dwError == ERROR_ACCESS_DENIED)
            strReason = L"access denied";
        else if (dwError == ERROR_INVALID_HANDLE)
            strReason = L"its name is taken by another kind of object";
        else
            strReason = ErrorText(dwError);
        return MutexName() + L" can be neither created nor opened (" + strReason +
               L"), so the EC ports cannot be shared";
    }
}

CommandRunner::CommandRunner(ConsoleStream& out, ConsoleStream& err, const CtrlBreak& ctrlBreak)
    : m_out(out),
      m_err(err),
      m_ctrlBreak(ctrlBreak)
{}

// The whole command line is checked before io.dll is loaded: wrong usage
// loads nothing and touches no port.
int CommandRunner::Run(const std::vector<std::wstring>& args)
{
    CommandLine commandLine;
    if (!commandLine.Parse(args))
        return Complain(L"velkorctl: " + commandLine.Error() + L"\r\n\r\n" + CommandLine::UsageText(), EXIT_USAGE);
    switch (commandLine.GetCommand())
    {
    case CommandLine::Command::Help: return m_out.Write(CommandLine::UsageText()) ? EXIT_DONE : EXIT_OUTPUT_FAILED;
    case CommandLine::Command::Version: return Say(L"velkorctl " VELKOR_VERSION);
    default: return RunOnEc(commandLine);
    }
}

int CommandRunner::RunOnEc(const CommandLine& commandLine)
{
    const bool bWatch = commandLine.GetCommand() == CommandLine::Command::Watch;
    EcAccess ec(bWatch ? WATCH_WAIT_LIMIT_MS : ACCESS_WAIT_LIMIT_MS, ACCESS_WAIT_LIMIT_MS);
    switch (ec.GetState())
    {
    case EcAccess::State::LibraryMissing: return ReportLibraryMissing(ec);
    case EcAccess::State::ExportMissing: return ReportExportMissing(ec);
    case EcAccess::State::DriverClosed: return ReportDriverClosed(ec, commandLine.GetCommand());
    case EcAccess::State::PortMutexUnavailable: return ReportPortMutexUnavailable(ec, commandLine.GetCommand());
    case EcAccess::State::PortsBusy: return ReportPortsBusy();
    case EcAccess::State::Ready: break;
    }
    switch (commandLine.GetCommand())
    {
    case CommandLine::Command::Mode:
        if (!SelectLedMode(ec, commandLine.Mode(), ACCESS_WAIT_LIMIT_MS))
            return ReportPortsBusy();
        return ReportModeChanged(commandLine.Mode());
    case CommandLine::Command::Power:
        if (const std::optional<BYTE> byLevel = ec.ReadRamByte(POWER_LEVEL_OFFSET))
            return Say(PowerLine(*byLevel));
        return ReportPortsBusy();
    case CommandLine::Command::Watch: return Watch(ec, commandLine.Count());
    default: return Status(ec);
    }
}

int CommandRunner::ReportLibraryMissing(const EcAccess& ec)
{
    std::wstring strText = L"velkorctl: io.dll ";
    strText += ec.LoadError() == ERROR_MOD_NOT_FOUND
                   ? L"was not found"
                   : L"could not be loaded (" + ErrorText(ec.LoadError(), L"io.dll") + L")";
    strText += L". Searched, in this order:\r\n";
    for (const std::wstring& strFolder : EcAccess::LibraryFolders())
        strText += L"  " + strFolder + L"\r\n";
    strText += L"Put the port-I/O library io.dll beside velkorctl.exe.\r\n";
    return Complain(strText, EXIT_NO_LIBRARY);
}

int CommandRunner::ReportExportMissing(const EcAccess& ec)
{
    std::wstring strNames;
    for (const std::string& strName : ec.MissingExports())
        strNames += (strNames.empty() ? L"" : L", ") + std::wstring(strName.begin(), strName.end());
    return Complain(
        L"velkorctl: " + ec.LibraryPath() +
            (ec.MissingExports().size() == 1 ? L" lacks the export " : L" lacks the exports ") + strNames +
            L".\r\nIt is not the port-I/O library velkorctl needs, which exports Out32, Inp32, "
            L"IsInpOutDriverOpen and IsXP64Bit.\r\n",
        EXIT_NO_LIBRARY
    );
}

int CommandRunner::ReportDriverClosed(const EcAccess& ec, CommandLine::Command command)
{
    if (command == CommandLine::Command::Status)
    {
        if (Say(L"io.dll: " + ec.LibraryPath()) != EXIT_DONE || Say(L"driver: closed") != EXIT_DONE)
            return EXIT_OUTPUT_FAILED;
        return EXIT_DRIVER_CLOSED;
    }
    return Complain(
        L"velkorctl: the driver of " + ec.LibraryPath() +
            L" is not open, so no port can be reached.\r\nInstall the library's kernel driver (some port "
            L"libraries install it when first run as administrator).\r\n",
        EXIT_DRIVER_CLOSED
    );
}

int CommandRunner::ReportPortMutexUnavailable(const EcAccess& ec, CommandLine::Command command)
{
    if (command == CommandLine::Command::Status)
    {
        for (const std::wstring& strLine :
             {L"io.dll: " + ec.LibraryPath(), std::wstring(L"driver: open"),
              L"port mutex: " + PortMutexUnavailable(ec.PortMutexError()) + L"; no port was touched"})
        {
            if (Say(strLine) != EXIT_DONE)
                return EXIT_OUTPUT_FAILED;
        }
        return EXIT_PORTS_BUSY;
    }
    return Complain(
        L"velkorctl: the port mutex " + PortMutexUnavailable(ec.PortMutexError()) +
            L"; another program may be using them unseen, so velkorctl touched none.\r\n",
        EXIT_PORTS_BUSY
    );
}

int CommandRunner::ReportPortsBusy()
{
    return Complain(
        L"velkorctl: the port mutex " + MutexName() +
            L" is held by another program, so velkorctl left the EC alone; try again later.\r\n",
        EXIT_PORTS_BUSY
    );
}

// The light has changed: that is what the exit status reports, whatever
// becomes of the line that says so.
int CommandRunner::ReportModeChanged(LedMode mode)
{
    const std::wstring strLine = ModeLine(static_cast<BYTE>(mode));
    if (!m_out.WriteLine(strLine))
    {
        m_err.Write(
            L"velkorctl: the keyboard light was changed (" + strLine +
            L"), but standard output could not be written (" + ErrorText(m_out.LastError()) + L").\r\n"
        );
    }
    return EXIT_DONE;
}

// The EC is read first and the lines printed after, so the EC accesses come
// in one short burst.
int CommandRunner::Status(EcAccess& ec)
{
    const std::optional<BYTE> byMode = ec.ReadRamByte(LED_MODE_OFFSET);
    const std::optional<BYTE> byLevel = byMode ? ec.ReadRamByte(POWER_LEVEL_OFFSET) : std::nullopt;
    if (!byLevel)
        return ReportPortsBusy();
    const std::wstring lines[] = {
        L"io.dll: " + ec.LibraryPath(),
        L"driver: open",
        L"chip: " + Hex(ec.ChipId(0), 2) + L" " + Hex(ec.ChipId(1), 2),
        L"ram base: " + Hex(static_cast<unsigned>(ec.EcRamBase()), 4),
        ModeLine(*byMode),
        PowerLine(*byLevel),
    };
    for (const std::wstring& strLine : lines)
    {
        if (Say(strLine) != EXIT_DONE)
            return EXIT_OUTPUT_FAILED;
    }
    return EXIT_DONE;
}

// Each line is written at once (the stream is unbuffered), so a reader at the
// other end of a pipe sees a change when it happens. A poll that cannot have
// the ports is skipped; only WATCH_WAIT_LIMIT_MS without them ends the watch.
int CommandRunner::Watch(EcAccess& ec, std::optional<unsigned> count)
{
    std::optional<BYTE> byShown;
    unsigned nLines = 0;
    ULONGLONG nLastTurn = GetTickCount64();
    for (;;)
    {
        const std::optional<BYTE> byLevel = ec.ReadRamByte(POWER_LEVEL_OFFSET);
        if (byLevel)
            nLastTurn = GetTickCount64();
        else if (GetTickCount64() - nLastTurn >= WATCH_WAIT_LIMIT_MS)
            return ReportPortsBusy();
        if (byLevel && byLevel != byShown)
        {
            byShown = byLevel;
            if (Say(PowerLine(*byLevel)) != EXIT_DONE)
                return EXIT_OUTPUT_FAILED;
            if (count && ++nLines == *count)
                return EXIT_DONE;
        }
        if (m_ctrlBreak.Wait(WATCH_PERIOD_MS))
            return EXIT_DONE;
    }
}

int CommandRunner::Say(const std::wstring& strLine)
{
    return m_out.WriteLine(strLine) ? EXIT_DONE : EXIT_OUTPUT_FAILED;
}

int CommandRunner::Complain(const std::wstring& strText, int nExitCode)
{
    m_err.Write(strText);
    return nExitCode;
}
