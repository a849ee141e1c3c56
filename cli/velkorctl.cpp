// velkorctl: Velkor's keyboard light and power level from a command line.
#include <windows.h>

#include <string>
#include <vector>

#include "cli/CommandRunner.h"
#include "cli/ConsoleStream.h"
#include "cli/CtrlBreak.h"

int wmain(int argc, wchar_t* argv[])
{
    // Installed first: a Ctrl+C never cuts a mode change between its two writes.
    const CtrlBreak ctrlBreak;
    ConsoleStream out(STD_OUTPUT_HANDLE);
    ConsoleStream err(STD_ERROR_HANDLE);
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    return CommandRunner(out, err, ctrlBreak).Run(args);
}
