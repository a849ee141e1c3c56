#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "ec/LedMode.h"

class ConsoleStream;
class CtrlBreak;
class EcAccess;

// Runs one velkorctl command line: parses it, binds io.dll and probes the chip
// as Velkor's window does, runs the command and says on standard error why
// it could not. Every EC byte goes through EcAccess, which holds the port
// mutex around it, so velkorctl can run while Velkor runs. When another
// program keeps the mutex, velkorctl touches no port from then on; where the
// mutex can be neither created nor opened, it touches none at all.
class CommandRunner
{
public:
    // Exit codes; tools outside the project rely on them.
    static constexpr int EXIT_DONE = 0;
    static constexpr int EXIT_OUTPUT_FAILED = 1;   // not for mode once the light changed: that is done
    static constexpr int EXIT_USAGE = 2;
    static constexpr int EXIT_NO_LIBRARY = 3;   // io.dll missing, unloadable or lacking an export
    static constexpr int EXIT_DRIVER_CLOSED = 4;
    static constexpr int EXIT_PORTS_BUSY = 5;   // another program kept the port mutex, or it cannot be had at all

    CommandRunner(ConsoleStream& out, ConsoleStream& err, const CtrlBreak& ctrlBreak);

    // The arguments after the program's name; returns the exit code.
    int Run(const std::vector<std::wstring>& args);

private:
    int RunOnEc(const CommandLine& commandLine);
    int ReportLibraryMissing(const EcAccess& ec);
    int ReportExportMissing(const EcAccess& ec);
    int ReportDriverClosed(const EcAccess& ec, CommandLine::Command command);
    int ReportPortMutexUnavailable(const EcAccess& ec, CommandLine::Command command);
    int ReportPortsBusy();
    int ReportModeChanged(LedMode mode);
    int Status(EcAccess& ec);
    int Watch(EcAccess& ec, std::optional<unsigned> count);
    int Say(const std::wstring& strLine);   // a line on standard output
    int Complain(const std::wstring& strText, int nExitCode);

    ConsoleStream& m_out;
    ConsoleStream& m_err;
    const CtrlBreak& m_ctrlBreak;
};
