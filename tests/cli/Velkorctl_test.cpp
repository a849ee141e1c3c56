// velkorctl.exe as scripts and users run it: its command table against the
// EC simulator, with exact output lines, exit codes and the port accesses it
// makes (none at all when it must not touch the EC).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ecsim/ProgramRun.h"
#include "ecsim/SimHarness.h"
#include "tests/support/PortLog.h"
#include "tests/support/Wait.h"

void PrintTo(const EcOperation& op, std::ostream* pStream)
{
    *pStream << Describe(op);
}

namespace
{
    using Ops = std::vector<EcOperation>;
    using Env = std::vector<std::pair<std::string, std::string>>;

    struct CtlResult
    {
        DWORD dwExit;
        std::string strOut;
        std::string strErr;
    };

    std::string BuiltProgram()
    {
        return SimHarness::ProgramFolder() + "\\velkorctl.exe";
    }

    CtlResult RunCtl(const std::vector<std::string>& args, const Env& env = {},
                     const std::string& strProgram = BuiltProgram())
    {
        ProgramRun run(strProgram);
        run.SeparateErrors();
        for (const std::string& strArg : args)
            run.Arg(strArg);
        for (const auto& [strName, strValue] : env)
            run.Env(strName, strValue);
        const DWORD dwExit = run.Run();
        return {dwExit, run.Output(), run.Errors()};
    }

    // A folder of the test's own with a copy of velkorctl.exe and, if named,
    // a library of the build copied in as io.dll.
    std::string CtlCopy(const SimHarness& sim, const char* pszIoDll)
    {
        const std::string strFolder = sim.PathOf("install");
        CreateDirectoryA(strFolder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA(BuiltProgram().c_str(), (strFolder + "\\velkorctl.exe").c_str(), FALSE));
        if (pszIoDll != nullptr)
        {
            EXPECT_TRUE(CopyFileA((SimHarness::ProgramFolder() + "\\" + pszIoDll).c_str(),
                                  (strFolder + "\\io.dll").c_str(), FALSE));
        }
        return strFolder + "\\velkorctl.exe";
    }

    Ops NewEcOperations(SimHarness& sim)
    {
        std::string strText;
        for (const std::string& strLine : sim.NewLogLines())
            strText += strLine + "\n";
        return PortLog::Parse(strText).EcOperations();
    }

    EcOperation Read(WORD wAddress, BYTE byValue)
    {
        return {EcOperation::Read, wAddress, byValue};
    }

    EcOperation Write(WORD wAddress, BYTE byValue)
    {
        return {EcOperation::Write, wAddress, byValue};
    }

    // Velkor's start-up probe: the chip id, then the control byte for its family.
    Ops Probe(BYTE byId1, BYTE byId2)
    {
        const bool bIt557x = byId1 == 0x55 && (byId2 == 0x70 || byId2 == 0x71);
        return {Read(0x2000, byId1), Read(0x2001, byId2), Write(0x1060, bIt557x ? 0x80 : 0x00)};
    }

    Ops Concat(Ops first, const Ops& second)
    {
        first.insert(first.end(), second.begin(), second.end());
        return first;
    }

    const char USAGE_START[] = "Usage: velkorctl COMMAND\n";
}

TEST(Velkorctl, StatusPrintsLibraryDriverChipBaseModeAndPowerLevelAfterTheProbe)
{
    const struct
    {
        BYTE byId1, byId2;
        WORD wBase;
        BYTE byMode, byLevel;
        const char* pszLines;
    } cases[] = {
        {0x55, 0x70, 0xC400, 3, 2, "chip: 55 70\nram base: C400\nmode: 3 Breath\npower level: 2\n"},
        {0x55, 0x71, 0xC400, 4, 1, "chip: 55 71\nram base: C400\nmode: 4 ColorLoop\npower level: 1\n"},
        {0x54, 0x70, 0x0400, 2, 3, "chip: 54 70\nram base: 0400\nmode: 2 RainBow\npower level: 3\n"},
        {0x55, 0x70, 0xC400, 7, 0, "chip: 55 70\nram base: C400\nmode: 7 unknown\npower level: 0\n"},
        {0xAB, 0xCD, 0x0400, 0xFF, 255, "chip: AB CD\nram base: 0400\nmode: 255 unknown\npower level: 255\n"},
    };
    SimHarness sim;
    sim.ExportEnvironment();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszLines);
        sim.SetChipId(c.byId1, c.byId2);
        sim.Ec()[c.wBase + 0xF6] = c.byMode;
        sim.Ec()[c.wBase + 0x30] = c.byLevel;
        NewEcOperations(sim);

        const CtlResult result = RunCtl({"status"});

        EXPECT_EQ(result.dwExit, 0u);
        EXPECT_EQ(result.strOut, "io.dll: " + SimHarness::LibraryPath() + "\ndriver: open\n" + c.pszLines);
        EXPECT_EQ(result.strErr, "");
        const Ops reads = {Read(static_cast<WORD>(c.wBase + 0xF6), c.byMode),
                           Read(static_cast<WORD>(c.wBase + 0x30), c.byLevel)};
        EXPECT_EQ(NewEcOperations(sim), Concat(Probe(c.byId1, c.byId2), reads));
    }
}

TEST(Velkorctl, ModeWritesTheClearByteThenTheModeByteAfterTheProbe)
{
    const std::pair<const char*, BYTE> names[] = {{"auto", 0}, {"On", 1},    {"RAINBOW", 2}, {"breath", 3},
                                                  {"colorloop", 4}, {"0", 0}, {"3", 3}};
    const char* modeLines[] = {"mode: 0 Auto\n", "mode: 1 On\n", "mode: 2 RainBow\n", "mode: 3 Breath\n",
                               "mode: 4 ColorLoop\n"};
    SimHarness sim(0x54, 0x70);
    sim.ExportEnvironment();
    for (const auto& [pszName, byMode] : names)
    {
        SCOPED_TRACE(pszName);
        sim.Ec()[0x04F6] = 0xAA;
        sim.Ec()[0x04BD] = 0xAA;
        NewEcOperations(sim);

        const CtlResult result = RunCtl({"mode", pszName});

        EXPECT_EQ(result.dwExit, 0u);
        EXPECT_EQ(result.strOut, modeLines[byMode]);
        EXPECT_EQ(NewEcOperations(sim), Concat(Probe(0x54, 0x70), {Write(0x04BD, 0x00), Write(0x04F6, byMode)}));
        EXPECT_EQ(sim.Ec()[0x04F6], byMode);
    }
}

TEST(Velkorctl, PowerReadsTheLevelAndWatchPrintsEachChangeUntilTheCount)
{
    SimHarness sim;
    sim.ExportEnvironment();
    sim.Ec()[0xC430] = 2;
    const CtlResult power = RunCtl({"power"});
    EXPECT_EQ(power.dwExit, 0u);
    EXPECT_EQ(power.strOut, "power level: 2\n");
    EXPECT_EQ(NewEcOperations(sim), Concat(Probe(0x55, 0x70), {Read(0xC430, 2)}));

    ProgramRun watch(BuiltProgram());
    watch.Arg("watch").Arg("--count").Arg("3").SeparateErrors();
    ASSERT_TRUE(watch.Start());
    auto waitForLines = [&](long nLines) {
        return WaitUntil([&] {
            const std::string strOut = watch.Output();
            return std::count(strOut.begin(), strOut.end(), '\n') >= nLines;
        });
    };
    // A byte written again with the same value is no change; each line is
    // there while the program still runs, not only when it ends.
    ASSERT_TRUE(waitForLines(1));
    sim.Ec()[0xC430] = 2;
    Sleep(600);
    sim.Ec()[0xC430] = 3;
    ASSERT_TRUE(waitForLines(2));
    sim.Ec()[0xC430] = 1;

    EXPECT_EQ(watch.Wait(20000), 0u);
    EXPECT_EQ(watch.Output(), "power level: 2\npower level: 3\npower level: 1\n");
    EXPECT_EQ(watch.Errors(), "");
}

// Usage, help and version are answered before io.dll is loaded: the same
// without any io.dll, and not a port touched with one.
TEST(Velkorctl, UsageHelpAndVersionLoadNoLibrary)
{
    const std::vector<std::string> wrongUsage[] = {
        {},        {"colour"}, {"mode"},           {"mode", "breathe"},           {"mode", "5"},
        {"power", "now"},      {"watch", "--count"}, {"watch", "--count", "0"}, {"watch", "--count", "many"},
    };
    SimHarness sim;
    sim.ExportEnvironment();
    const std::string strWithoutLibrary = CtlCopy(sim, nullptr);
    for (const std::string& strProgram : {BuiltProgram(), strWithoutLibrary})
    {
        for (const std::vector<std::string>& args : wrongUsage)
        {
            SCOPED_TRACE(strProgram + " " + (args.empty() ? "" : args[0]) + " " + (args.size() > 1 ? args[1] : ""));
            const CtlResult result = RunCtl(args, {}, strProgram);
            EXPECT_EQ(result.dwExit, 2u);
            EXPECT_EQ(result.strOut, "");
            EXPECT_EQ(result.strErr.rfind("velkorctl: ", 0), 0u) << result.strErr;
            EXPECT_NE(result.strErr.find(USAGE_START), std::string::npos) << result.strErr;
        }
        const CtlResult help = RunCtl({"--help"}, {}, strProgram);
        EXPECT_EQ(help.dwExit, 0u);
        EXPECT_EQ(help.strOut.rfind(USAGE_START, 0), 0u) << help.strOut;
        const CtlResult version = RunCtl({"--version"}, {}, strProgram);
        EXPECT_EQ(version.dwExit, 0u);
        EXPECT_EQ(version.strOut.rfind("velkorctl 1.", 0), 0u) << version.strOut;
        EXPECT_EQ(help.strErr + version.strErr, "");
    }
    EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>());
}

// Exit 3 names the folders searched or the export missing; exit 4 says the
// driver is closed. Neither touches a port.
TEST(Velkorctl, MissingLibraryExportOrDriverExitsThreeOrFourWithoutPortAccess)
{
    SimHarness sim;
    sim.ExportEnvironment();
    const std::string strAlone = CtlCopy(sim, nullptr);
    char szSystem[MAX_PATH];
    const std::string strSystem(szSystem, GetSystemDirectoryA(szSystem, MAX_PATH));
    for (const char* pszCommand : {"status", "power"})
    {
        const CtlResult missing = RunCtl({pszCommand}, {}, strAlone);
        EXPECT_EQ(missing.dwExit, 3u);
        EXPECT_EQ(missing.strOut, "");
        EXPECT_EQ(missing.strErr, "velkorctl: io.dll was not found. Searched, in this order:\n  " +
                                      sim.PathOf("install") + "\\\n  " + strSystem +
                                      "\\\nPut the port-I/O library io.dll beside velkorctl.exe.\n");
    }

    const std::string strLacking = CtlCopy(sim, "io_without_isxp64bit.dll");
    const CtlResult lacking = RunCtl({"mode", "on"}, {}, strLacking);
    EXPECT_EQ(lacking.dwExit, 3u);
    EXPECT_EQ(lacking.strOut, "");
    const std::string strLacks = "velkorctl: " + sim.PathOf("install") + "\\io.dll lacks the export IsXP64Bit.\n";
    EXPECT_EQ(lacking.strErr.rfind(strLacks, 0), 0u) << lacking.strErr;

    const Env closed = {{"ECSIM_DRIVER", "closed"}};
    const CtlResult status = RunCtl({"status"}, closed);
    EXPECT_EQ(status.dwExit, 4u);
    EXPECT_EQ(status.strOut, "io.dll: " + SimHarness::LibraryPath() + "\ndriver: closed\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"mode", "breath"}, {"power"}, {"watch"}})
    {
        SCOPED_TRACE(args[0]);
        const CtlResult result = RunCtl(args, closed);
        EXPECT_EQ(result.dwExit, 4u);
        EXPECT_EQ(result.strOut, "");
        EXPECT_EQ(result.strErr.rfind("velkorctl: the driver of " + SimHarness::LibraryPath() + " is not open", 0), 0u)
            << result.strErr;
    }
    EXPECT_EQ(sim.NewLogLines(), std::vector<std::string>());
    EXPECT_EQ(sim.Ec()[0xC4F6], 0x00);
}
