#include "ec/EcRamMap.h"

#include <gtest/gtest.h>

#include "ec/EcTestSupport.h"
#include "ecsim/ChildProcess.h"

// The power level set with the simulator's tool is where the program reads
// it, on both RAM bases.
TEST(EcRamMap, PowerLevelSetWithTheSimulatorToolIsReadAtItsOffset)
{
    const BYTE chips[][2] = {{0x55, 0x70}, {0x54, 0x70}};
    BYTE byLevel = 1;
    for (const auto& chip : chips) {
        auto pEc = ProbedEc(chip[0], chip[1]);
        ChildProcess tool(SimHarness::ProgramFolder() + "\\ecsim.exe");
        ASSERT_EQ(tool.Arg("power").Arg(std::to_string(byLevel)).Run(), 0u) << tool.Output();

        EXPECT_EQ(pEc->ReadEcByte(static_cast<WORD>(pEc->m_nEcRamBase + POWER_LEVEL_OFFSET)), byLevel)
            << "base " << std::hex << pEc->m_nEcRamBase;
        ++byLevel;
    }
}
