// Wall time of one velkorctl run, start to exit, against two baselines run the
// same way from the same process: velkorctl --version (the same program,
// which loads no io.dll) and cmd /c exit (a trivial console program). The
// difference to --version is velkorctl's own work: binding io.dll, the probe
// and the command's EC bytes. Medians; nothing here passes or fails.
//
// Knob (environment): VELKOR_BENCH_CTL_RUNS (runs per command line, 50).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "ecsim/ProgramRun.h"
#include "ecsim/SimHarness.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"
#include "tests/bench/Stats.h"

namespace
{

    struct CommandLine
    {
        const char* pszTitle;
        std::string strProgram;
        std::vector<std::string> args;
    };

    double RunMs(const CommandLine& commandLine)
    {
        ProgramRun run(commandLine.strProgram);
        for (const std::string& strArg : commandLine.args)
            run.Arg(strArg);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const DWORD dwExit = run.Run();
        QueryPerformanceCounter(&end);
        if (dwExit != 0)
        {
            std::fprintf(stderr, "%s ended with %lu:\n%s", commandLine.pszTitle, dwExit, run.Output().c_str());
            std::exit(1);
        }
        return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    }

}   // namespace

int main()
{
    const char* pszRuns = std::getenv("VELKOR_BENCH_CTL_RUNS");
    const int nRuns = pszRuns != nullptr && std::atoi(pszRuns) > 0 ? std::atoi(pszRuns) : 50;

    // A simulated EC of its own, without the port log: its file writes would
    // dwarf what is measured.
    SimHarness sim;
    sim.ExportEnvironment();
    SetEnvironmentVariableA("ECSIM_LOG", nullptr);

    const std::string strCtl = Text::ToUtf8(FileSystem::ProductFolder()) + "\\velkorctl.exe";
    char szSystem[MAX_PATH];
    const std::string strCmd = std::string(szSystem, GetSystemDirectoryA(szSystem, MAX_PATH)) + "\\cmd.exe";
    const CommandLine commandLines[] = {
        {"velkorctl status", strCtl, {"status"}},
        {"velkorctl mode breath", strCtl, {"mode", "breath"}},
        {"velkorctl --version (baseline: no io.dll)", strCtl, {"--version"}},
        {"cmd /c exit (baseline: trivial program)", strCmd, {"/c", "exit"}},
    };

    // Interleaved, so that every command line sees the same load on the machine.
    std::vector<std::vector<double>> samples(std::size(commandLines));
    for (int nRun = 0; nRun < nRuns; ++nRun)
    {
        for (std::size_t i = 0; i < std::size(commandLines); ++i)
            samples[i].push_back(RunMs(commandLines[i]));
    }

    const double dVersion = Stats::Median(samples[2]);
    const double dCmd = Stats::Median(samples[3]);
    std::printf("velkorctl, wall time of one run (ms), medians over %d runs each\n", nRuns);
    std::printf("  %-44s %9s %12s %12s %14s\n", "command line", "median", "/ --version", "/ cmd", "- --version");
    for (std::size_t i = 0; i < std::size(commandLines); ++i)
    {
        const double dMedian = Stats::Median(samples[i]);
        std::printf(
            "  %-44s %9.1f %12.2f %12.2f %14.1f\n", commandLines[i].pszTitle, dMedian, dMedian / dVersion,
            dMedian / dCmd, dMedian - dVersion
        );
    }
    return 0;
}
