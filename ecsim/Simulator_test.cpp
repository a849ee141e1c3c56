// io.dll as other processes see it, driven through port_client.exe.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

#include "ecsim/ProgramRun.h"
#include "ecsim/SimHarness.h"

namespace
{

    constexpr DWORD DRIVER_CLOSED = 3;   // port_client's exit status

    std::unique_ptr<ProgramRun> PortClient(const SimHarness& sim, int nCount)
    {
        auto pClient = std::make_unique<ProgramRun>(SimHarness::ToolPath("port_client.exe"));
        pClient->Arg(std::to_string(nCount)).Env("ECSIM_STATE", sim.StatePath()).Env("ECSIM_LOG", sim.LogPath());
        return pClient;
    }

}   // namespace

TEST(Simulator, LogKeepsEveryLineWholeWhenProcessesWriteAtOnce)
{
    SimHarness sim;
    constexpr int CLIENTS = 4, LINES_EACH = 1500;
    std::vector<std::unique_ptr<ProgramRun>> clients;
    for (int i = 0; i < CLIENTS; ++i)
    {
        clients.push_back(PortClient(sim, LINES_EACH));
        ASSERT_TRUE(clients.back()->Start(CREATE_SUSPENDED));
    }
    for (auto& pClient : clients)
        pClient->Resume();
    for (auto& pClient : clients)
        EXPECT_EQ(pClient->Wait(), 0u);

    const std::vector<std::string> lines = sim.NewLogLines();
    EXPECT_EQ(lines.size(), std::size_t(CLIENTS * LINES_EACH));
    int nMalformed = 0;
    for (const std::string& strLine : lines)
        nMalformed += strLine.size() != 11 || strLine.compare(0, 9, "OUT 0080 ") != 0;
    EXPECT_EQ(nMalformed, 0);
}

TEST(Simulator, DriverReportsClosedWhenToldOrWhenTheEcIsUnusable)
{
    SimHarness sim;
    std::ofstream(sim.PathOf("short.bin"), std::ios::binary) << "too short";

    EXPECT_EQ(PortClient(sim, 0)->Env("ECSIM_DRIVER", "open").Run(), 0u);
    EXPECT_EQ(PortClient(sim, 0)->Env("ECSIM_DRIVER", "closed").Run(), DRIVER_CLOSED);
    EXPECT_EQ(PortClient(sim, 0)->Env("ECSIM_DRIVER", "shut").Run(), DRIVER_CLOSED);
    EXPECT_EQ(PortClient(sim, 0)->Env("ECSIM_CHIP", "55").Run(), DRIVER_CLOSED);
    EXPECT_EQ(PortClient(sim, 0)->Env("ECSIM_STATE", sim.PathOf("short.bin")).Run(), DRIVER_CLOSED);
    EXPECT_EQ(PortClient(sim, 0)->Env("ECSIM_STATE", sim.PathOf("no such folder\\ec.bin")).Run(), DRIVER_CLOSED);
}
