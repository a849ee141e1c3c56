#include "ec/LedMode.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/ec/EcTestSupport.h"

// Each mode's value at both bases is checked end to end, through Velkor's
// buttons and velkorctl; here: what lies between the two bytes.
TEST(LedMode, TheCallersWorkComesBetweenTheClearAndTheModeByteAndARepeatWritesBothAgain)
{
    SimHarness& sim = ProcessSim();
    auto pEc = ProbedEc(0x55, 0x71);
    sim.Ec()[0xC4F6] = 0x01;

    std::vector<EcOperation> between;
    EXPECT_TRUE(SelectLedMode(*pEc, LedMode::ColorLoop, 100, [&] {
        between = NewEcOperations();
        EXPECT_EQ(sim.Ec()[0xC4F6], 0x01) << "the mode must not change before the caller's work";
    }));
    EXPECT_EQ(between, std::vector<EcOperation>{EcWrite(0xC4BD, 0x00)});
    EXPECT_EQ(NewEcOperations(), std::vector<EcOperation>{EcWrite(0xC4F6, 0x04)});

    // The mode already set is sent again, both writes.
    EXPECT_TRUE(SelectLedMode(*pEc, LedMode::ColorLoop, 100));
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcWrite(0xC4BD, 0x00), EcWrite(0xC4F6, 0x04)}));
}

// A failure between the bytes must not leave the clear byte alone: the EC
// then has both, and the caller still hears of the failure.
TEST(LedMode, AThrowBetweenTheBytesStillWritesTheModeByte)
{
    SimHarness& sim = ProcessSim();
    auto pEc = ProbedEc(0x54, 0x70);
    sim.Ec()[0x04F6] = 0xAA;

    EXPECT_THROW(
        SelectLedMode(
            *pEc, LedMode::RainBow, 100, [] { throw std::runtime_error("a picture could not be looked up"); }
        ),
        std::runtime_error
    );
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcWrite(0x04BD, 0x00), EcWrite(0x04F6, 0x02)}));
    EXPECT_EQ(sim.Ec()[0x04F6], 0x02);
}
