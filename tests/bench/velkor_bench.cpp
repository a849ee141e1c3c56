// Measures Velkor.exe against the baseline program (a minimal dialog of the same
// size with one owner-drawn button and a 500 ms timer, built by the same
// toolchain) in the same run, and prints every figure with its ratio to the
// baseline. Medians over repeated runs; nothing here passes or fails.
//
// Knobs (environment): VELKOR_BENCH_STARTS (start-ups per program, 15),
// VELKOR_BENCH_CLICKS (mode clicks per memory/latency run, 1000),
// VELKOR_BENCH_GDI_CLICKS (clicks between the object counts, 10000),
// VELKOR_BENCH_IDLE_SECONDS (length of one idle window, 10),
// VELKOR_BENCH_IDLE_WINDOWS (idle windows per state, 5).
#include "tests/bench/Stats.h"
#include "tests/support/EcState.h"
#include "tests/bench/RunningProgram.h"
#include "tests/support/TestInstall.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
    const WORD RAM_BASE = 0xC400;   // the state files here carry the chip id 55:70
    const WORD POWER_LEVEL = RAM_BASE + 0x30;

    struct Program
    {
        const wchar_t* pszExe;
        std::vector<int> modeButtons;   // clicked in turn
    };

    const Program VELKOR = {L"Velkor.exe", {IDC_AUTO, IDC_ON, IDC_RAINBOW, IDC_BREATH, IDC_COLORLOOP}};
    const Program BASELINE = {L"velkor_baseline.exe", {1000}};

    unsigned Knob(const char* pszName, unsigned nDefault)
    {
        const char* psz = std::getenv(pszName);
        return psz && std::atoi(psz) > 0 ? static_cast<unsigned>(std::atoi(psz)) : nDefault;
    }

    // A private install with its own EC state (chip 55:70) and no port log: the
    // log's file writes would dwarf what is measured.
    struct Install
    {
        explicit Install(const Program& program)
            : install(program.pszExe)
        {
            EcState::Create(install.StatePath(), 0x55, 0x70);
        }
        std::unique_ptr<RunningProgram> Start() const
        {
            auto pRun = std::make_unique<RunningProgram>(install, ChildProcess::Environment{{L"ECSIM_LOG", L""}});
            if (!pRun->WaitPainted())
            {
                std::fprintf(stderr, "the program did not show a painted window\n");
                std::exit(1);
            }
            return pRun;
        }
        TestInstall install;
    };

    struct Row
    {
        std::string strName;
        double dVelkor;
        double dBaseline;
    };

    std::vector<Row> g_rows;

    void Report(const std::string& strName, double dVelkor, double dBaseline)
    {
        g_rows.push_back({strName, dVelkor, dBaseline});
        std::printf("  %-58s %10.2f %10.2f\n", strName.c_str(), dVelkor, dBaseline);
        std::fflush(stdout);
    }

    double Mib(size_t cb)
    {
        return cb / (1024.0 * 1024.0);
    }

    std::vector<double> StartupTimes(const Install& install, unsigned nStarts)
    {
        std::vector<double> times;
        for (unsigned i = 0; i < nStarts; ++i)
            times.push_back(install.Start()->StartupMs());
        return times;
    }

    // Clicks the mode buttons in turn; returns the time of each click.
    std::vector<double> ClickModes(RunningProgram& run, const Program& program, unsigned nClicks)
    {
        std::vector<double> times;
        for (unsigned i = 0; i < nClicks; ++i)
        {
            const auto dMs = run.Click(program.modeButtons[i % program.modeButtons.size()]);
            if (!dMs)
            {
                std::fprintf(stderr, "click %u was not answered\n", i);
                std::exit(1);
            }
            times.push_back(*dMs);
        }
        return times;
    }

    struct MemoryFigures
    {
        std::vector<double> ws, peakWs, priv, clickMs;
    };

    void MeasureMemory(RunningProgram& run, MemoryFigures& figures)
    {
        Sleep(300);   // let the first paints and the first timer tick settle
        const MemoryUse use = run.Memory().value();
        figures.ws.push_back(Mib(use.cbWorkingSet));
        figures.peakWs.push_back(Mib(use.cbPeakWorkingSet));
        figures.priv.push_back(Mib(use.cbPrivate));
    }

    // CPU ms and wake-ups per minute over several idle windows; medians.
    std::pair<double, double> IdleRates(RunningProgram& run, unsigned nSeconds, unsigned nWindows)
    {
        std::vector<double> cpu, wakeups;
        for (unsigned i = 0; i < nWindows; ++i)
        {
            const auto before = run.Cpu();
            Sleep(nSeconds * 1000);
            const auto after = run.Cpu();
            if (!before || !after)
                return {-1, -1};
            const double dScale = 60.0 / nSeconds;
            cpu.push_back((after->dCpuMs - before->dCpuMs) * dScale);
            wakeups.push_back(static_cast<double>(after->nWakeups - before->nWakeups) * dScale);
        }
        return {Stats::Median(cpu), Stats::Median(wakeups)};
    }
}   // namespace

int main()
{
    const unsigned nStarts = Knob("VELKOR_BENCH_STARTS", 15);
    const unsigned nClicks = Knob("VELKOR_BENCH_CLICKS", 1000);
    const unsigned nGdiClicks = Knob("VELKOR_BENCH_GDI_CLICKS", 10000);
    const unsigned nIdleSeconds = Knob("VELKOR_BENCH_IDLE_SECONDS", 10);
    const unsigned nIdleWindows = Knob("VELKOR_BENCH_IDLE_WINDOWS", 5);
    const unsigned nMemoryRuns = 3;

    const Install velkor(VELKOR), baseline(BASELINE);
    std::printf("Velkor.exe against the baseline (same toolchain, same run); medians\n");
    std::printf("  %-58s %10s %10s\n", "figure", "Velkor", "baseline");

    // Start-up, alternating so that both see the same machine load.
    std::vector<double> startV, startB;
    for (unsigned i = 0; i < nStarts; ++i)
    {
        const auto v = StartupTimes(velkor, 1), b = StartupTimes(baseline, 1);
        startV.insert(startV.end(), v.begin(), v.end());
        startB.insert(startB.end(), b.begin(), b.end());
    }
    Report(
        "start-up to first painted main window (ms, " + std::to_string(nStarts) + " starts)", Stats::Median(startV),
        Stats::Median(startB)
    );

    // Memory after start-up and after the clicks; click latency from the same runs.
    MemoryFigures startMem[2], clickMem[2];
    const Program* programs[2] = {&VELKOR, &BASELINE};
    const Install* installs[2] = {&velkor, &baseline};
    for (unsigned r = 0; r < nMemoryRuns; ++r)
        for (int p = 0; p < 2; ++p)
        {
            auto pRun = installs[p]->Start();
            MeasureMemory(*pRun, startMem[p]);
            const auto times = ClickModes(*pRun, *programs[p], nClicks);
            clickMem[p].clickMs.insert(clickMem[p].clickMs.end(), times.begin(), times.end());
            MeasureMemory(*pRun, clickMem[p]);
        }
    const std::string strAfter = " after " + std::to_string(nClicks) + " clicks";
    Report("working set after start-up (MiB)", Stats::Median(startMem[0].ws), Stats::Median(startMem[1].ws));
    Report(
        "peak working set after start-up (MiB)", Stats::Median(startMem[0].peakWs), Stats::Median(startMem[1].peakWs)
    );
    Report(
        "committed private memory after start-up (MiB)", Stats::Median(startMem[0].priv),
        Stats::Median(startMem[1].priv)
    );
    Report(
        "peak working set" + strAfter + " (MiB)", Stats::Median(clickMem[0].peakWs), Stats::Median(clickMem[1].peakWs)
    );
    Report(
        "committed private memory" + strAfter + " (MiB)", Stats::Median(clickMem[0].priv),
        Stats::Median(clickMem[1].priv)
    );
    Report(
        "click to EC mode byte, median (ms)", Stats::Median(clickMem[0].clickMs), Stats::Median(clickMem[1].clickMs)
    );
    Report(
        "click to EC mode byte, 90th percentile (ms)", Stats::Percentile(clickMem[0].clickMs, 0.9),
        Stats::Percentile(clickMem[1].clickMs, 0.9)
    );

    // Idle: window shown; Velkor in the tray after a popup, the baseline hidden.
    {
        auto pV = velkor.Start();
        auto pB = baseline.Start();
        const auto idleV = IdleRates(*pV, nIdleSeconds, nIdleWindows);
        const auto idleB = IdleRates(*pB, nIdleSeconds, nIdleWindows);
        Report("idle, window shown: CPU (ms per minute)", idleV.first, idleB.first);
        Report("idle, window shown: wake-ups (per minute)", idleV.second, idleB.second);

        pV->Click(IDC_MIN);
        EcState::Poke(velkor.install.StatePath(), POWER_LEVEL, 1);
        Sleep(3000);   // the popup shows, its own timers and the 800 ms hide run out
        EcState::Poke(velkor.install.StatePath(), POWER_LEVEL, 2);
        Sleep(2000);
        ShowWindow(pB->Main(), SW_HIDE);
        Sleep(500);
        const auto trayV = IdleRates(*pV, nIdleSeconds, nIdleWindows);
        const auto hiddenB = IdleRates(*pB, nIdleSeconds, nIdleWindows);
        Report("idle, in the tray after popups (baseline hidden): CPU (ms per minute)", trayV.first, hiddenB.first);
        Report("idle, in the tray after popups (baseline hidden): wake-ups (per minute)", trayV.second, hiddenB.second);
    }

    // Objects held after start-up and after many clicks: they must be equal.
    // No power level: a popup made during the clicks would count as growth.
    EcState::Poke(velkor.install.StatePath(), POWER_LEVEL, 0);
    double gdi[2][2] = {}, windows[2][2] = {};
    for (int p = 0; p < 2; ++p)
    {
        auto pRun = installs[p]->Start();
        Sleep(1000);   // past the first power-level poll
        gdi[p][0] = pRun->GdiObjects().value_or(0);
        windows[p][0] = pRun->Windows();
        ClickModes(*pRun, *programs[p], nGdiClicks);
        Sleep(300);
        gdi[p][1] = pRun->GdiObjects().value_or(0);
        windows[p][1] = pRun->Windows();
    }
    const std::string strGdiAfter = " after " + std::to_string(nGdiClicks) + " clicks";
    Report("GDI objects after start-up", gdi[0][0], gdi[1][0]);
    Report("GDI objects" + strGdiAfter, gdi[0][1], gdi[1][1]);
    Report("USER objects (windows) after start-up", windows[0][0], windows[1][0]);
    Report("USER objects (windows)" + strGdiAfter, windows[0][1], windows[1][1]);

    std::printf("\n| figure | Velkor | baseline | ratio |\n|---|---:|---:|---:|\n");
    for (const Row& row : g_rows)
    {
        if (row.dBaseline > 0)
            std::printf(
                "| %s | %.2f | %.2f | %.2f |\n", row.strName.c_str(), row.dVelkor, row.dBaseline,
                row.dVelkor / row.dBaseline
            );
        else
            std::printf("| %s | %.2f | %.2f | n/a |\n", row.strName.c_str(), row.dVelkor, row.dBaseline);
    }
    return 0;
}
