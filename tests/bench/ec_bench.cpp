// What one EC byte costs through EcAccess and the simulated io.dll, with and
// without the simulator's port log, against the bare port calls it makes.
// Prints medians; passes or fails nothing. On hardware each port access takes
// about 1 us, so EcAccess's own share of an EC byte should stay far below 12 us.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "ec/EcAccess.h"
#include "ec/EcRamMap.h"
#include "ecsim/ProgramRun.h"
#include "ecsim/SimHarness.h"
#include "tests/bench/Stats.h"

namespace
{

    constexpr int PORT_ACCESSES_PER_BYTE = 12;

    // The logged run writes a log line per port access, so it does less.
    struct Plan
    {
        const char* pszTitle;
        int nRounds;
        int nOperations;
    };
    constexpr Plan UNLOGGED = {"Without ECSIM_LOG", 31, 2000};
    constexpr Plan LOGGED = {"With ECSIM_LOG", 11, 200};

    // Times the operations in interleaved rounds, so that all of them see the
    // same load on the machine; returns each one's median time in microseconds.
    std::vector<double> MedianMicroseconds(const Plan& plan, const std::vector<std::function<void()>>& operations)
    {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        std::vector<std::vector<double>> samples(operations.size());
        for (int nRound = 0; nRound < plan.nRounds; ++nRound)
        {
            for (std::size_t nOperation = 0; nOperation < operations.size(); ++nOperation)
            {
                QueryPerformanceCounter(&start);
                for (int i = 0; i < plan.nOperations; ++i)
                    operations[nOperation]();
                QueryPerformanceCounter(&end);
                samples[nOperation].push_back(
                    1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / plan.nOperations
                );
            }
        }
        std::vector<double> medians;
        for (const std::vector<double>& operationSamples : samples)
            medians.push_back(Stats::Median(operationSamples));
        return medians;
    }

    // Port accesses logged per operation (only with ECSIM_LOG set).
    double LoggedAccessesPer(SimHarness& sim, const std::function<void()>& operation)
    {
        sim.NewLogLines();
        for (int i = 0; i < LOGGED.nOperations; ++i)
            operation();
        return double(sim.NewLogLines().size()) / LOGGED.nOperations;
    }

    void Measure(SimHarness& sim, bool bLogged)
    {
        const Plan& plan = bLogged ? LOGGED : UNLOGGED;
        EcAccess ec(INFINITE, INFINITE);   // nobody else uses the simulated ports here
        auto pfnOut32 = SimHarness::IoExport<void(__stdcall*)(short, short)>("Out32");
        HANDLE hMutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, IsaBusMutex::NAME);

        const auto bare = [&] {
            for (int i = 0; i < PORT_ACCESSES_PER_BYTE; ++i)
                pfnOut32(0x80, 0);   // an unmodelled port: the library's cost alone
        };
        const auto write = [&] { ec.WriteRamByte(LED_MODE_OFFSET, 0x02); };
        const auto read = [&] { static_cast<void>(ec.ReadRamByte(LED_MODE_OFFSET)); };
        const auto mutex = [&] {
            WaitForSingleObject(hMutex, INFINITE);
            ReleaseMutex(hMutex);
        };

        const std::vector<double> medians = MedianMicroseconds(plan, {bare, mutex, write, read});
        const double dBare = medians[0], dMutex = medians[1], dWrite = medians[2], dRead = medians[3];
        CloseHandle(hMutex);

        std::printf("%s (medians of %d rounds x %d operations):\n", plan.pszTitle, plan.nRounds, plan.nOperations);
        std::printf("  12 bare Out32 calls (baseline)      %8.2f us\n", dBare);
        std::printf("  named mutex wait + release          %8.2f us\n", dMutex);
        std::printf("  WriteRamByte                        %8.2f us  %7.2f x baseline\n", dWrite, dWrite / dBare);
        std::printf("  ReadRamByte                         %8.2f us  %7.2f x baseline\n", dRead, dRead / dBare);
        if (!bLogged)
            std::printf("  WriteRamByte beyond bare calls+mutex %7.2f us\n", dWrite - dBare - dMutex);
        else
            std::printf(
                "  port accesses per WriteRamByte %.2f, per ReadRamByte %.2f\n", LoggedAccessesPer(sim, write),
                LoggedAccessesPer(sim, read)
            );
        std::fflush(stdout);
    }

}   // namespace

// Without arguments: measures with the log off, then runs itself with "--log"
// and the log on (io.dll reads ECSIM_LOG once per process).
int main(int argc, char** argv)
{
    SimHarness sim;
    sim.ExportEnvironment();
    const bool bLogged = argc == 2 && std::strcmp(argv[1], "--log") == 0;
    if (!bLogged)
        SetEnvironmentVariableA("ECSIM_LOG", nullptr);
    Measure(sim, bLogged);
    if (bLogged)
        return 0;

    ProgramRun logged(argv[0]);
    constexpr DWORD LOGGED_RUN_LIMIT_MS = 10 * 60 * 1000;
    if (!logged.Arg("--log").Env("ECSIM_LOG", sim.LogPath()).Start() || logged.Wait(LOGGED_RUN_LIMIT_MS) != 0)
    {
        std::fprintf(stderr, "the logged run failed:\n%s", logged.Output().c_str());
        return 1;
    }
    std::printf("%s", logged.Output().c_str());
    return 0;
}
