#include "ec/LedModeChange.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "tests/support/ec/EcTestSupport.h"

// (Each mode's value at both bases is checked through the buttons and velkorctl.)
// A failure between the bytes must not leave the clear byte alone.
TEST(LedModeChange, CallersWorkComesBetweenTheBytesAndAThrowStillEndsIt)
{
    SimHarness& sim = ProcessSim();
    auto pEc = ProbedEc(0x54, 0x70);
    sim.Ec()[0x04F6] = 0xAA;

    std::vector<EcOperation> between;
    EXPECT_THROW(
        {
            const LedModeChange change(*pEc, LedMode::RainBow, 100);
            ASSERT_TRUE(change);
            between = NewEcOperations();
            throw std::runtime_error("the caller's work failed");
        },
        std::runtime_error
    );
    EXPECT_EQ(between, std::vector<EcOperation>{EcWrite(0x04BD, 0x00)});
    EXPECT_EQ(NewEcOperations(), std::vector<EcOperation>{EcWrite(0x04F6, 0x02)});
    EXPECT_EQ(sim.Ec()[0x04F6], 0x02);
    EXPECT_TRUE(PortMutexIsFree());
}
