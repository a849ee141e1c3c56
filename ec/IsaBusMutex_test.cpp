#include "ec/IsaBusMutex.h"

#include <gtest/gtest.h>

#include <thread>

#include "ec/LedMode.h"
#include "tests/support/ec/EcTestSupport.h"
#include "tests/support/ec/OtherPortUser.h"

using Lines = std::vector<std::string>;

namespace
{
    // Whether another thread could take the mutex right now.
    bool MutexIsFree()
    {
        bool bFree = false;
        std::thread probe([&] {
            HANDLE hMutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, IsaBusMutex::NAME);
            if (hMutex == nullptr)
                return;
            const DWORD dwWait = WaitForSingleObject(hMutex, 0);
            bFree = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
            if (bFree)
                ReleaseMutex(hMutex);
            CloseHandle(hMutex);
        });
        probe.join();
        return bFree;
    }

}   // namespace

// The access waits for the release, not for a time: its limit is far beyond
// anything the other program takes.
TEST(IsaBusMutex, AccessWaitsUntilAnotherProgramReleasesTheMutex)
{
    auto pEc = ProbedEc(0x55, 0x70, 30000);
    OtherPortUser other;
    ASSERT_TRUE(other.Hold(20));

    // The other program touches the ports a moment after this, still holding
    // the mutex; an access that did not wait would come first.
    other.Go();
    EXPECT_TRUE(pEc->WriteEcByte(0xC4F6, 0x02));

    EXPECT_EQ(other.Wait(), 0u);
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcRead(0x2000, 0x55), EcWrite(0xC4F6, 0x02)}))
        << "the access did not wait";
    EXPECT_TRUE(MutexIsFree());
}

// Reads, writes, a mode change and a probe, each refused once its wait ran
// out: the EC is as it was and the log holds no access of ours, also after
// the other program let go.
TEST(IsaBusMutex, NoPortIsTouchedWhileAnotherProgramKeepsTheMutexPastTheWaitLimit)
{
    SimHarness& sim = ProcessSim();
    auto pEc = ProbedEc(0x55, 0x70, 50);
    sim.Ec()[0xC4BD] = 0xAA;
    sim.Ec()[0xC4F6] = 0xAA;
    OtherPortUser other;
    ASSERT_TRUE(other.Hold());

    EXPECT_EQ(pEc->ReadEcByte(0xC4F6), std::nullopt);
    EXPECT_FALSE(pEc->WriteEcByte(0xC4F6, 0x01));
    bool bBetween = false;
    EXPECT_FALSE(SelectLedMode(*pEc, LedMode::Breath, 50, [&] { bBetween = true; }));
    EXPECT_FALSE(bBetween) << "the caller's work ran for a mode change that was not made";
    EcAccess busy(50, 50);
    EXPECT_EQ(busy.GetState(), EcAccess::State::PortsBusy);
    EXPECT_EQ(sim.NewLogLines(), Lines()) << "ports touched while another program held the mutex";

    other.Go();
    EXPECT_EQ(other.Wait(), 0u);
    EXPECT_EQ(busy.ReadEcByte(0xC4F6), std::nullopt) << "an EC whose probe was refused is never used";
    EXPECT_EQ(NewEcOperations(), std::vector<EcOperation>{EcRead(0x2000, 0x55)}) << "only the other program's access";
    EXPECT_EQ(sim.Ec()[0xC4BD], 0xAA);
    EXPECT_EQ(sim.Ec()[0xC4F6], 0xAA);

    // The next access, with the mutex free, is made as usual.
    EXPECT_EQ(pEc->ReadEcByte(0xC4F6), 0xAA);
    EXPECT_EQ(NewEcOperations(), std::vector<EcOperation>{EcRead(0xC4F6, 0xAA)});
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
