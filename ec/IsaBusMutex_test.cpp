#include "ec/IsaBusMutex.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "ec/LedModeChange.h"
#include "tests/support/ec/EcTestSupport.h"
#include "tests/support/ec/OtherPortUser.h"

// Reads, writes, a mode change and a probe, each refused once its wait ran
// out, leave the EC as it was and the log without an access of ours. An
// access that waits for the release (its limit far beyond anything the other
// program takes) comes after the other program's last access.
TEST(IsaBusMutex, NoPortIsTouchedUntilAnotherProgramReleasesTheMutex)
{
    SimHarness& sim = ProcessSim();
    auto pEc = ProbedEc(0x55, 0x70, 50);
    auto pPatientEc = ProbedEc(0x55, 0x70, 30000);
    sim.Ec()[0xC4BD] = 0xAA;
    sim.Ec()[0xC4F6] = 0xAA;
    OtherPortUser other;
    ASSERT_TRUE(other.Hold(20));

    EXPECT_EQ(pEc->ReadEcByte(0xC4F6), std::nullopt);
    EXPECT_FALSE(pEc->WriteEcByte(0xC4F6, 0x01));
    {
        const LedModeChange change(*pEc, LedMode::Breath, 50);
        EXPECT_FALSE(change);
    }
    EcAccess busy(50, 50);
    EXPECT_EQ(busy.GetState(), EcAccess::State::PortsBusy);
    EXPECT_TRUE(sim.NewLogLines().empty()) << "ports touched while another program held the mutex";

    // The other program touches the ports a moment after this, still holding
    // the mutex; an access that did not wait would come first.
    other.Go();
    EXPECT_TRUE(pPatientEc->WriteEcByte(0xC4F6, 0x02));
    EXPECT_EQ(other.Wait(), 0u);
    EXPECT_EQ(busy.ReadEcByte(0xC4F6), std::nullopt) << "an EC whose probe was refused is never used";
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcRead(0x2000, 0x55), EcWrite(0xC4F6, 0x02)}));
    EXPECT_EQ(sim.Ec()[0xC4BD], 0xAA);
    EXPECT_TRUE(PortMutexIsFree());
}

// The only test of a mutex whose owner died holding it: refusing it would
// leave the ports shut for good after another program's crash.
TEST(IsaBusMutex, AbandonedMutexIsTakenAndReleasedAfterTheAccess)
{
    auto pEc = ProbedEc(0x55, 0x70);
    OtherPortUser other;
    ASSERT_TRUE(other.Abandon());

    EXPECT_EQ(pEc->ReadEcByte(0x2000), 0x55);
    pEc->WriteEcByte(0xC4F6, 0x04);

    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcRead(0x2000, 0x55), EcWrite(0xC4F6, 0x04)}));
    EXPECT_TRUE(PortMutexIsFree());
}

// A hardware monitor running elevated made the mutex with a DACL that shuts
// us out, or some program took its name for another kind of object: either
// may be using the ports unseen, so none is ever touched. The probe says why.
TEST(IsaBusMutex, UnopenableMutexGrantsNoTurnAndTouchesNoPort)
{
    SimHarness& sim = ProcessSim();
    sim.SetChipId(0x55, 0x70);
    sim.NewLogLines();
    for (const PortMutexBlocker& blocker : PORT_MUTEX_BLOCKERS)
    {
        SCOPED_TRACE(blocker.pszHow);
        const SimKernelHandle hBlocker = blocker.Take();
        ASSERT_TRUE(hBlocker);
        const IsaBusMutex mutex;
        EXPECT_EQ(mutex.OpenError(), blocker.dwError);
        EXPECT_FALSE(IsaBusMutex::Turn(mutex, 0));
        EcAccess ec(50, 50);
        EXPECT_EQ(ec.GetState(), EcAccess::State::PortMutexUnavailable);
        EXPECT_EQ(ec.PortMutexError(), blocker.dwError);
        EXPECT_EQ(ec.ReadEcByte(0x2000), std::nullopt);
        EXPECT_TRUE(sim.NewLogLines().empty()) << "ports touched without the mutex";
    }
    EXPECT_EQ(EcAccess(50, 50).GetState(), EcAccess::State::Ready) << "once the name is free again";
}
