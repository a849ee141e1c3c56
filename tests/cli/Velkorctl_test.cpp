// velkorctl.exe as scripts and users run it: its command table against the EC
// simulator, with exact output lines, exit codes and the port accesses it
// makes (none when it must not touch the EC), alone and beside Velkor.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ecsim/ProgramRun.h"
#include "ecsim/SimHarness.h"
#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/PortLog.h"
#include "tests/support/TestInstall.h"
#include "ec/IsaBusMutex.h"
#include "tests/support/Wait.h"
#include "tests/support/ec/EcTestSupport.h"
#include "tests/support/ec/OtherPortUser.h"

namespace
{
    using Ops = std::vector<EcOperation>;
    using Args = std::vector<std::string>;

    struct CtlResult
    {
        DWORD dwExit;
        std::string strOut, strErr;
    };

    std::string BuiltProgram()
    {
        return SimHarness::ProgramFolder() + "\\velkorctl.exe";
    }

    CtlResult RunCtl(const Args& args, const std::string& strProgram = BuiltProgram(), const char* pszDriver = "")
    {
        ProgramRun run(strProgram);
        run.SeparateErrors().Env("ECSIM_DRIVER", pszDriver);
        for (const std::string& strArg : args)
            run.Arg(strArg);
        const DWORD dwExit = run.Run();
        return {dwExit, run.Output(), run.Errors()};
    }

    // A copy of velkorctl.exe in the simulator's folder, beside the named
    // library of the build as io.dll, or alone.
    std::string CtlCopy(const SimHarness& sim, const char* pszIoDll)
    {
        const std::string strFolder = sim.PathOf("install");
        CreateDirectoryA(strFolder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA(BuiltProgram().c_str(), (strFolder + "\\velkorctl.exe").c_str(), FALSE));
        if (pszIoDll != nullptr)
        {
            EXPECT_TRUE(CopyFileA(
                (SimHarness::ProgramFolder() + "\\" + pszIoDll).c_str(), (strFolder + "\\io.dll").c_str(), FALSE
            ));
        }
        return strFolder + "\\velkorctl.exe";
    }

    Ops NewEcOperations(SimHarness& sim)
    {
        return EcOperationsOf(sim.NewLogLines());
    }

    // Velkor's start-up probe, then the given operations.
    Ops AfterProbe(BYTE byId1, BYTE byId2, const Ops& ops)
    {
        const BYTE byControl = byId1 == 0x55 && (byId2 == 0x70 || byId2 == 0x71) ? 0x80 : 0x00;
        Ops all = {
            {EcOperation::Read, 0x2000, byId1},
            {EcOperation::Read, 0x2001, byId2},
            {EcOperation::Write, 0x1060, byControl}};
        all.insert(all.end(), ops.begin(), ops.end());
        return all;
    }
}

TEST(Velkorctl, StatusModeAndPowerPrintTheirLinesAndAccessTheEcAfterTheProbe)
{
    SimHarness sim;
    sim.ExportEnvironment();
    const std::string strLibrary = "io.dll: " + SimHarness::LibraryPath() + "\ndriver: open\n";
    const struct
    {
        BYTE byId1, byId2, byMode, byLevel;
        WORD wBase;
        const char* pszLines;
    } chips[] = {
        {0x55, 0x71, 3, 2, 0xC400, "chip: 55 71\nram base: C400\nmode: 3 Breath\npower level: 2\n"},
        {0x55, 0x70, 1, 3, 0xC400, "chip: 55 70\nram base: C400\nmode: 1 On\npower level: 3\n"},
        {0x55, 0x72, 0, 1, 0x0400, "chip: 55 72\nram base: 0400\nmode: 0 Auto\npower level: 1\n"},
        {0xAB, 0xCD, 255, 0, 0x0400, "chip: AB CD\nram base: 0400\nmode: 255 unknown\npower level: 0\n"},
    };
    for (const auto& c : chips)
    {
        SCOPED_TRACE(c.pszLines);
        sim.SetChipId(c.byId1, c.byId2);
        const WORD wBase = c.wBase;
        sim.Ec()[wBase + 0xF6] = c.byMode;
        sim.Ec()[wBase + 0x30] = c.byLevel;
        NewEcOperations(sim);
        const CtlResult status = RunCtl({"status"});
        EXPECT_EQ(status.dwExit, 0u);
        EXPECT_EQ(status.strOut, strLibrary + c.pszLines);
        EXPECT_EQ(status.strErr, "");
        const Ops reads = {
            {EcOperation::Read, WORD(wBase + 0xF6), c.byMode}, {EcOperation::Read, WORD(wBase + 0x30), c.byLevel}};
        EXPECT_EQ(NewEcOperations(sim), AfterProbe(c.byId1, c.byId2, reads));
    }

    const CtlResult power = RunCtl({"power"});
    EXPECT_EQ(power.strOut, "power level: 0\n");
    EXPECT_EQ(NewEcOperations(sim), AfterProbe(0xAB, 0xCD, {{EcOperation::Read, 0x0430, 0}}));

    const std::pair<const char*, const char*> modes[] = {
        {"auto", "mode: 0 Auto\n"},
        {"On", "mode: 1 On\n"},
        {"RAINBOW", "mode: 2 RainBow\n"},
        {"colorloop", "mode: 4 ColorLoop\n"},
        {"3", "mode: 3 Breath\n"}};
    for (const auto& [pszName, pszLine] : modes)
    {
        SCOPED_TRACE(pszName);
        const BYTE byMode = static_cast<BYTE>(pszLine[6] - '0');
        sim.Ec()[0x04F6] = 0xAA;
        const CtlResult mode = RunCtl({"mode", pszName});
        EXPECT_EQ(mode.dwExit, 0u);
        EXPECT_EQ(mode.strOut, pszLine);
        EXPECT_EQ(
            NewEcOperations(sim),
            AfterProbe(0xAB, 0xCD, {{EcOperation::Write, 0x04BD, 0x00}, {EcOperation::Write, 0x04F6, byMode}})
        );
        EXPECT_EQ(sim.Ec()[0x04F6], byMode);
    }
}

// watch prints the level and each change as it happens, until the count. A
// poll that cannot have the ports is skipped, as the window skips it: no
// access while another program holds them, the change seen after.
TEST(Velkorctl, WatchPrintsEachChangeAndSkipsPollsWhileThePortsAreHeld)
{
    SimHarness sim;
    sim.ExportEnvironment();
    sim.Ec()[0xC430] = 2;
    ProgramRun watch(BuiltProgram());
    watch.Arg("watch").Arg("--count").Arg("3");
    ASSERT_TRUE(watch.Start());
    auto waitForLines = [&](long nLines) {
        return WaitUntil([&] {
            const std::string strOut = watch.Output();
            return std::count(strOut.begin(), strOut.end(), '\n') >= nLines;
        });
    };
    // The same value written again is no change: two polls read it, the
    // second begun after the write, and the output at the end has no line for it.
    ASSERT_TRUE(waitForLines(1));
    sim.NewLogLines();
    sim.Ec()[0xC430] = 2;
    size_t nPolls = 0;
    ASSERT_TRUE(WaitUntil([&] {
        for (const std::string& strLine : sim.NewLogLines())
            nPolls += strLine.starts_with("INP ") ? 1 : 0;   // a read's last access
        return nPolls >= 2;
    }));

    OtherPortUser other;
    ASSERT_TRUE(other.Hold());
    sim.NewLogLines();
    sim.Ec()[0xC430] = 3;
    // A skipped poll leaves no trace to wait for, so two other calls that want
    // the ports stand for the time: each gives up only after its full second
    // of waiting. Meanwhile the watch, which tries every 500 ms and waits a
    // second too, has had a poll refused and begun the next; its 5 s without
    // the ports are not up.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(RunCtl({"power"}).dwExit, 5u) << "a call had the ports while they were held";
    EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>()) << "a poll went ahead while the ports were held";
    EXPECT_EQ(watch.Output(), "power level: 2\n");
    other.Go();
    EXPECT_EQ(other.Wait(), 0u);

    ASSERT_TRUE(waitForLines(2));
    sim.Ec()[0xC430] = 1;
    EXPECT_EQ(watch.Wait(20000), 0u);
    EXPECT_EQ(watch.Output(), "power level: 2\npower level: 3\npower level: 1\n");
    const Ops ops = NewEcOperations(sim);
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front(), (EcOperation{EcOperation::Read, 0x2000, 0x55})) << "a poll came before the release";
}

// While another program holds the ports' mutex, each command that needs the
// EC gives up without a single port access: after 1 s, watch after 5 s. Where
// the mutex can be neither created nor opened, another program may be using
// the ports unseen: each gives up at once, saying why; status still tells
// what it learns without the ports.
TEST(Velkorctl, EveryEcCommandExitsFiveWithoutPortAccessWhenThePortsCannotBeHad)
{
    SimHarness sim;
    sim.ExportEnvironment();
    sim.Ec()[0xC4F6] = 0xAA;
    const std::string strMutex = IsaBusMutex::NAME;
    const std::string strBusy = "velkorctl: the port mutex " + strMutex +
                                " is held by another program, so velkorctl left the EC alone; try again later.\n";
    OtherPortUser other;
    ASSERT_TRUE(other.Hold());
    for (const Args& args : {Args{"status"}, Args{"mode", "breath"}, Args{"power"}, Args{"watch"}})
    {
        SCOPED_TRACE(args[0]);
        const CtlResult result = RunCtl(args);
        EXPECT_EQ(result.dwExit, 5u);
        EXPECT_EQ(result.strOut, "");
        EXPECT_EQ(result.strErr, strBusy);
        EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>()) << "ports touched while another program held them";
    }
    other.Go();
    EXPECT_EQ(other.Wait(), 0u);
    EXPECT_EQ(NewEcOperations(sim), (Ops{{EcOperation::Read, 0x2000, 0x55}})) << "only the other program's access";
    EXPECT_EQ(sim.Ec()[0xC4F6], 0xAA);

    const char* reasons[] = {"access denied", "its name is taken by another kind of object"};
    for (size_t i = 0; i < std::size(PORT_MUTEX_BLOCKERS); ++i)
    {
        SCOPED_TRACE(PORT_MUTEX_BLOCKERS[i].pszHow);
        const SimKernelHandle hBlocker = PORT_MUTEX_BLOCKERS[i].Take();
        ASSERT_TRUE(hBlocker);
        const std::string strWhy =
            strMutex + " can be neither created nor opened (" + reasons[i] + "), so the EC ports cannot be shared";
        const CtlResult status = RunCtl({"status"});
        EXPECT_EQ(status.dwExit, 5u);
        EXPECT_EQ(
            status.strOut,
            "io.dll: " + SimHarness::LibraryPath() + "\ndriver: open\nport mutex: " + strWhy + "; no port was touched\n"
        );
        EXPECT_EQ(status.strErr, "");
        for (const Args& args : {Args{"mode", "breath"}, Args{"power"}, Args{"watch"}})
        {
            SCOPED_TRACE(args[0]);
            const CtlResult result = RunCtl(args);
            EXPECT_EQ(result.dwExit, 5u);
            EXPECT_EQ(result.strOut, "");
            EXPECT_EQ(
                result.strErr, "velkorctl: the port mutex " + strWhy +
                                   "; another program may be using them unseen, so velkorctl touched none.\n"
            );
        }
        EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>()) << "ports touched without the mutex";
    }
    EXPECT_EQ(sim.Ec()[0xC4F6], 0xAA);

    EXPECT_EQ(RunCtl({"mode", "breath"}).dwExit, 0u) << "once the other program let go";
    EXPECT_EQ(sim.Ec()[0xC4F6], 0x03);
}

// The mode change is what a script asks for: once the light has changed the
// exit status says so, even when the line saying it cannot be written (the
// reader of a pipe has gone); the failure goes to standard error.
TEST(Velkorctl, ModeExitsZeroOnceTheLightChangedThoughItsOutputFails)
{
    SimHarness sim;
    sim.ExportEnvironment();
    sim.Ec()[0xC4F6] = 0xAA;
    ProgramRun run(BuiltProgram());
    run.OutputToClosedPipe().Arg("mode").Arg("breath");
    EXPECT_EQ(run.Run(), 0u);
    EXPECT_EQ(
        run.Errors().rfind(
            "velkorctl: the keyboard light was changed (mode: 3 Breath), but standard output could not be "
            "written (error ",
            0
        ),
        0u
    ) << run.Errors();
    EXPECT_EQ(
        NewEcOperations(sim),
        AfterProbe(0x55, 0x70, {{EcOperation::Write, 0xC4BD, 0x00}, {EcOperation::Write, 0xC4F6, 0x03}})
    );

    ProgramRun status(BuiltProgram());
    status.OutputToClosedPipe().Arg("status");
    EXPECT_EQ(status.Run(), 1u) << "a command that only reports fails when its report cannot be written";
}

// Usage, help and version come before io.dll is loaded: the same without any
// io.dll, and no port touched with one.
TEST(Velkorctl, UsageHelpAndVersionLoadNoLibrary)
{
    SimHarness sim;
    sim.ExportEnvironment();
    for (const std::string& strProgram : {BuiltProgram(), CtlCopy(sim, nullptr)})
    {
        for (const Args& args : {Args{}, Args{"colour"}, Args{"mode", "5"}, Args{"watch", "--count", "0"}})
        {
            SCOPED_TRACE(strProgram + " " + (args.empty() ? "" : args[0]));
            const CtlResult result = RunCtl(args, strProgram);
            EXPECT_EQ(result.dwExit, 2u);
            EXPECT_EQ(result.strOut, "");
            EXPECT_EQ(result.strErr.rfind("velkorctl: ", 0), 0u) << result.strErr;
            EXPECT_NE(result.strErr.find("\nUsage: velkorctl COMMAND\n"), std::string::npos) << result.strErr;
        }
        const CtlResult help = RunCtl({"--help"}, strProgram), version = RunCtl({"--version"}, strProgram);
        EXPECT_EQ(help.dwExit + version.dwExit, 0u);
        EXPECT_EQ(help.strOut.rfind("Usage: velkorctl COMMAND\n", 0), 0u) << help.strOut;
        // Exit 5 after a probe that had the ports: the probe's accesses stand.
        EXPECT_NE(
            help.strOut.find("Done before, and not undone:\nthe start-up probe (chip id read, EC byte "
                             "0x1060 written)"),
            std::string::npos
        ) << help.strOut;
        EXPECT_EQ(version.strOut.rfind("velkorctl 1.", 0), 0u) << version.strOut;
    }
    EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>());
}

// Exit 3 names the folders searched or the export missing; exit 4 says the
// driver is closed. Neither touches a port.
TEST(Velkorctl, MissingLibraryExportOrDriverExitsThreeOrFourWithoutPortAccess)
{
    SimHarness sim;
    sim.ExportEnvironment();
    char szSystem[MAX_PATH];
    const std::string strSystem(szSystem, GetSystemDirectoryA(szSystem, MAX_PATH));
    const CtlResult missing = RunCtl({"status"}, CtlCopy(sim, nullptr));
    EXPECT_EQ(missing.dwExit, 3u);
    EXPECT_EQ(missing.strOut, "");
    EXPECT_EQ(
        missing.strErr, "velkorctl: io.dll was not found. Searched, in this order:\n  " + sim.PathOf("install") +
                            "\\\n  " + strSystem + "\\\nPut the port-I/O library io.dll beside velkorctl.exe.\n"
    );

    const CtlResult lacking = RunCtl({"mode", "on"}, CtlCopy(sim, "io_without_isxp64bit.dll"));
    EXPECT_EQ(lacking.dwExit, 3u);
    const std::string strLacks = "velkorctl: " + sim.PathOf("install") + "\\io.dll lacks the export IsXP64Bit.\n";
    EXPECT_EQ(lacking.strErr.rfind(strLacks, 0), 0u) << lacking.strErr;

    const CtlResult status = RunCtl({"status"}, BuiltProgram(), "closed");
    EXPECT_EQ(status.dwExit, 4u);
    EXPECT_EQ(status.strOut, "io.dll: " + SimHarness::LibraryPath() + "\ndriver: closed\n");
    for (const Args& args : {Args{"mode", "breath"}, Args{"watch"}})
    {
        const CtlResult result = RunCtl(args, BuiltProgram(), "closed");
        EXPECT_EQ(result.dwExit, 4u) << args[0];
        EXPECT_EQ(result.strOut, "");
        EXPECT_EQ(result.strErr.rfind("velkorctl: the driver of " + SimHarness::LibraryPath() + " is not open", 0), 0u)
            << result.strErr;
    }
    EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>());
}

// While Velkor polls the power level, velkorctl's mode changes and Velkor's
// reads take turns on the ports' mutex: every twelve-access sequence is whole
// (strict decoding throws at the first that is not) and each call's are in order.
// The calls go on until a poll has come between their first and last access,
// or this proves nothing: a fast machine makes twenty calls within one period.
TEST(Velkorctl, ModeCallsWhileVelkorPollsLeaveEveryEcAccessWhole)
{
    constexpr int MIN_MODE_CALLS = 20, MAX_MODE_CALLS = 500;
    TestInstall install;
    FileSystem::Copy(FileSystem::ModuleFolder() + L"\\velkorctl.exe", install.Folder() + L"\\velkorctl.exe");
    EcState::Create(install.StatePath(), 0x55, 0x70);
    const std::unique_ptr<ChildProcess> velkor = install.Start();
    auto isPoll = [](const EcOperation& op) { return op.kind == EcOperation::Read && op.wAddress == 0xC430; };
    auto ops = [&] { return PortLog::Load(install.LogPath()).EcOperations(true); };
    ASSERT_TRUE(WaitUntil([&] { return std::ranges::any_of(ops(), isPoll); }, 20000)) << "Velkor does not poll";
    auto pollBetweenCalls = [&](const Ops& logged) {
        if (logged.size() < 3)
            return false;
        const auto itFirst = std::find_if_not(logged.begin() + 3, logged.end(), isPoll);
        const auto itLast = std::find_if_not(logged.rbegin(), logged.rend(), isPoll).base();
        return itFirst < itLast && std::any_of(itFirst, itLast, isPoll);
    };

    Ops expected, logged;
    for (int i = 0; i < MIN_MODE_CALLS || !pollBetweenCalls(logged); ++i)
    {
        ASSERT_LT(i, MAX_MODE_CALLS) << "no poll came between the calls";
        ChildProcess ctl(
            install.Folder() + L"\\velkorctl.exe", L"mode " + std::to_wstring(i % 5), install.Root(),
            {{L"ECSIM_STATE", install.StatePath()}, {L"ECSIM_LOG", install.LogPath()}}
        );
        ASSERT_TRUE(ctl.WaitForExit(20000));
        EXPECT_EQ(ctl.ExitCode(), 0u);
        const Ops call = AfterProbe(
            0x55, 0x70,
            {{EcOperation::Write, 0xC4BD, 0x00}, {EcOperation::Write, 0xC4F6, static_cast<std::uint8_t>(i % 5)}}
        );
        expected.insert(expected.end(), call.begin(), call.end());
        if (i + 1 >= MIN_MODE_CALLS)
        {
            ASSERT_NO_THROW(logged = ops());
        }
    }
    std::erase_if(logged, isPoll);
    EXPECT_EQ(logged, AfterProbe(0x55, 0x70, expected));
}
