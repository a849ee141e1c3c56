#include "ec/LedMode.h"

#include <gtest/gtest.h>

#include "tests/support/ec/EcTestSupport.h"

TEST(LedMode, EachModeClearsThenWritesItsValueAtEitherBase)
{
    const std::pair<LedMode, BYTE> modes[] = {
        {LedMode::Auto, 0}, {LedMode::On, 1}, {LedMode::RainBow, 2}, {LedMode::Breath, 3}, {LedMode::ColorLoop, 4}};
    const struct
    {
        BYTE byId1, byId2;
        WORD wBase;
    } chips[] = {{0x55, 0x70, 0xC400}, {0x54, 0x70, 0x0400}};
    SimHarness& sim = ProcessSim();
    for (const auto& chip : chips)
    {
        auto pEc = ProbedEc(chip.byId1, chip.byId2);
        const WORD wClear = static_cast<WORD>(chip.wBase + 0xBD);
        const WORD wMode = static_cast<WORD>(chip.wBase + 0xF6);
        for (const auto& [mode, byValue] : modes)
        {
            SCOPED_TRACE(testing::Message() << "base " << std::hex << chip.wBase << " mode " << int(byValue));
            sim.Ec()[wClear] = 0xAA;
            sim.Ec()[wMode] = 0xAA;

            SelectLedMode(*pEc, mode);

            EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcWrite(wClear, 0x00), EcWrite(wMode, byValue)}));
            EXPECT_EQ(sim.Ec()[wClear], 0x00);
            EXPECT_EQ(sim.Ec()[wMode], byValue);
        }
    }
}

TEST(LedMode, CallerWorksBetweenTheClearAndTheModeWriteAndARepeatWritesAgain)
{
    SimHarness& sim = ProcessSim();
    auto pEc = ProbedEc(0x55, 0x71);
    sim.Ec()[0xC4F6] = 0x01;

    BeginLedModeChange(*pEc);
    EXPECT_EQ(NewEcOperations(), std::vector<EcOperation>{EcWrite(0xC4BD, 0x00)});
    EXPECT_EQ(sim.Ec()[0xC4F6], 0x01) << "the mode must not change before the caller's work";

    FinishLedModeChange(*pEc, LedMode::ColorLoop);
    EXPECT_EQ(NewEcOperations(), std::vector<EcOperation>{EcWrite(0xC4F6, 0x04)});

    // The mode already set is sent again, both writes.
    SelectLedMode(*pEc, LedMode::ColorLoop);
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcWrite(0xC4BD, 0x00), EcWrite(0xC4F6, 0x04)}));
}
