#include "ec/IsaBusMutex.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

#include "ec/LedMode.h"
#include "tests/support/ec/EcTestSupport.h"
#include "tests/support/ec/OtherPortUser.h"

namespace
{
    // Whether another thread could take the mutex right now.
    bool MutexIsFree()
    {
        DWORD dwWait = WAIT_FAILED;
        std::thread([&] {
            const SimKernelHandle hMutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, IsaBusMutex::NAME));
            dwWait = WaitForSingleObject(hMutex.Get(), 0);
            ReleaseMutex(hMutex.Get());   // fails unless the wait took it
        }).join();
        return dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
    }

}   // namespace

// Reads, writes, a mode change and a probe, each refused once its wait ran
// out, leave the EC as it was and the log without an access of ours. An
// access that waits for the release (its limit far beyond anything the other
// program takes) comes after the other program's last access.
TEST(IsaBusMutex, NoPortIsTouchedWhileAnotherProgramHoldsTheMutexAndAWaitingAccessFollowsItsRelease)
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
    bool bBetween = false;
    EXPECT_FALSE(SelectLedMode(*pEc, LedMode::Breath, 50, [&] { bBetween = true; }));
    EXPECT_FALSE(bBetween) << "the caller's work ran for a mode change that was not made";
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
    EXPECT_TRUE(MutexIsFree());
}

TEST(IsaBusMutex, AbandonedMutexIsTakenAndReleasedAfterTheAccess)
{
    auto pEc = ProbedEc(0x55, 0x70);
    OtherPortUser other;
    ASSERT_TRUE(other.Abandon());

    EXPECT_EQ(pEc->ReadEcByte(0x2000), 0x55);
    pEc->WriteEcByte(0xC4F6, 0x04);

    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcRead(0x2000, 0x55), EcWrite(0xC4F6, 0x04)}));
    EXPECT_TRUE(MutexIsFree());
}
