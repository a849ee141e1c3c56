// ecsim.exe, run as a user would, on a state file of the test's own.
#include <gtest/gtest.h>

#include "ecsim/ProgramRun.h"
#include "ecsim/SimHarness.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace
{

    constexpr DWORD EXIT_USAGE = 2;

    std::unique_ptr<ProgramRun> Tool(const std::string& strStatePath, std::initializer_list<const char*> args)
    {
        auto pTool = std::make_unique<ProgramRun>(SimHarness::ProgramFolder() + "\\ecsim.exe");
        pTool->Env("ECSIM_STATE", strStatePath);
        for (const char* pszArg : args)
            pTool->Arg(pszArg);
        return pTool;
    }

    bool Contains(const std::string& strText, const char* pszPart)
    {
        return strText.find(pszPart) != std::string::npos;
    }

}   // namespace

TEST(EcSimTool, ShowFindsModeAndPowerAtTheChipsRamBase)
{
    SimHarness it5571(0x55, 0x71);
    it5571.Ec()[0xC4F6] = 0x03;
    it5571.Ec()[0xC430] = 0x02;
    auto pShow = Tool(it5571.StatePath(), {"show"});
    ASSERT_EQ(pShow->Run(), 0u);
    const std::string strShown = pShow->Output();
    EXPECT_TRUE(Contains(strShown, "chip id       55:71 (IT5570/IT5571)")) << strShown;
    EXPECT_TRUE(Contains(strShown, "EC RAM base   C400")) << strShown;
    EXPECT_TRUE(Contains(strShown, "mode byte     03 Breath (at C4F6)")) << strShown;
    EXPECT_TRUE(Contains(strShown, "power level   2 (at C430)")) << strShown;

    SimHarness other(0x55, 0x72);
    other.Ec()[0x04F6] = 0x09;
    other.Ec()[0x0430] = 0x01;
    pShow = Tool(other.StatePath(), {"show"});
    ASSERT_EQ(pShow->Run(), 0u);
    const std::string strOther = pShow->Output();
    EXPECT_TRUE(Contains(strOther, "EC RAM base   0400")) << strOther;
    EXPECT_TRUE(Contains(strOther, "mode byte     09 not a mode (at 04F6)")) << strOther;
    EXPECT_TRUE(Contains(strOther, "power level   1 (at 0430)")) << strOther;
}

TEST(EcSimTool, BadArgumentsTouchNothing)
{
    SimHarness sim;
    const std::string strAbsent = sim.PathOf("absent.bin");
    const std::initializer_list<const char*> bad[] = {
        {},
        {"show", "x"},
        {"power", "256"},
        {"power", "2x"},
        {"peek", "10000"},
        {"poke", "C4F6"},
        {"watch", "soon"},
        {"frobnicate"},
    };
    for (const auto& args : bad)
    {
        auto pTool = Tool(strAbsent, args);
        EXPECT_EQ(pTool->Run(), EXIT_USAGE) << (args.size() ? *args.begin() : "(none)");
        EXPECT_TRUE(Contains(pTool->Output(), "usage: ecsim show"));
    }
    EXPECT_EQ(GetFileAttributesA(strAbsent.c_str()), INVALID_FILE_ATTRIBUTES) << "a state file was created";
}

TEST(EcSimTool, WatchPrintsChangesAsTheyHappen)
{
    SimHarness sim(0x55, 0x70);
    auto pWatch = Tool(sim.StatePath(), {"watch", "3"});
    ASSERT_TRUE(pWatch->Start());
    for (int i = 0; i < 200 && !Contains(pWatch->Output(), "watching"); ++i)
        Sleep(50);

    sim.Ec()[0xC4F6] = 0x02;

    EXPECT_EQ(pWatch->Wait(), 0u);
    const std::string strSeen = pWatch->Output();
    EXPECT_TRUE(Contains(strSeen, "  C4F6  00 -> 02  mode byte\n")) << strSeen;
}
