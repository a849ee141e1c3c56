#include "ec/IsaBusMutex.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <thread>

#include "tests/support/ec/EcTestSupport.h"
#include "ecsim/ProgramRun.h"

using Lines = std::vector<std::string>;

namespace
{
    // The lines bus_holder logs when it reads the chip id register.
    const Lines HOLDER_LINES = {"OUT 004E 20", "INP 004F 55"};

    // bus_holder.exe: another program that takes the ports' mutex. It answers
    // through two named manual-reset events of this test's own.
    class OtherPortUser
    {
    public:
        // Returns once it holds the mutex. Told to Go(), it waits nDelayMs, uses
        // the ports and releases; untold, it lets go after a second.
        bool Hold(int nDelayMs)
        {
            return m_holder.Arg(m_strReady).Arg(m_strGo).Arg(std::to_string(nDelayMs)).Start() &&
                   WaitForSingleObject(m_hReady.Get(), 30000) == WAIT_OBJECT_0;
        }
        // Returns once it has ended while holding the mutex.
        bool Abandon()
        {
            return m_holder.Arg(m_strReady).Arg("abandon").Run() == 0 &&
                   WaitForSingleObject(m_hReady.Get(), 0) == WAIT_OBJECT_0;
        }
        void Go() { SetEvent(m_hGo.Get()); }
        DWORD Wait() { return m_holder.Wait(); }

    private:
        static std::string EventName(const char* pszRole)
        {
            static int s_nEvents = 0;
            return std::string("ec-test-") + pszRole + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++s_nEvents);
        }
        std::string m_strReady = EventName("ready"), m_strGo = EventName("go");
        SimKernelHandle m_hReady{CreateEventA(nullptr, TRUE, FALSE, m_strReady.c_str())};
        SimKernelHandle m_hGo{CreateEventA(nullptr, TRUE, FALSE, m_strGo.c_str())};
        ProgramRun m_holder{SimHarness::ToolPath("bus_holder.exe")};
    };

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

TEST(IsaBusMutex, AccessWaitsUntilAnotherProgramReleasesTheMutex)
{
    auto pEc = ProbedEc(0x55, 0x70);
    OtherPortUser other;
    ASSERT_TRUE(other.Hold(10));

    // The other program touches the ports 10 ms after this, still holding
    // the mutex; an access that did not wait would come first.
    other.Go();
    pEc->WriteEcByte(0xC4F6, 0x02);

    EXPECT_EQ(other.Wait(), 0u);
    const Lines lines = ProcessSim().NewLogLines();
    ASSERT_EQ(lines.size(), 2u + 12u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), HOLDER_LINES) << "the access did not wait";
    EXPECT_EQ(EcOperationsOf(Lines(lines.begin() + 2, lines.end())), std::vector<EcOperation>{EcWrite(0xC4F6, 0x02)});
    EXPECT_TRUE(MutexIsFree());
}

TEST(IsaBusMutex, AccessGoesAheadWhenTheHolderKeepsTheMutexTooLong)
{
    auto pEc = ProbedEc(0x55, 0x70);
    OtherPortUser other;
    ASSERT_TRUE(other.Hold(0));

    // Never told to go, the other program keeps the mutex for a whole second,
    // ten times the access's wait limit: the access must not wait for it.
    pEc->WriteEcByte(0xC4F6, 0x01);
    EXPECT_EQ(ProcessSim().Ec()[0xC4F6], 0x01);

    EXPECT_EQ(other.Wait(), 0u);
    const Lines lines = ProcessSim().NewLogLines();
    ASSERT_EQ(lines.size(), 12u + 2u);
    EXPECT_EQ(EcOperationsOf(Lines(lines.begin(), lines.end() - 2)), std::vector<EcOperation>{EcWrite(0xC4F6, 0x01)});
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), HOLDER_LINES);
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

TEST(IsaBusMutex, EveryUserMayOpenTheMutex)
{
    IsaBusMutex mutex;
    HANDLE hMutex = OpenMutexA(READ_CONTROL, FALSE, IsaBusMutex::NAME);
    ASSERT_NE(hMutex, nullptr);
    PACL pDacl = nullptr;
    PSECURITY_DESCRIPTOR pSd = nullptr;
    ASSERT_EQ(
        GetSecurityInfo(hMutex, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &pDacl, nullptr, &pSd),
        static_cast<DWORD>(ERROR_SUCCESS)
    );
    EXPECT_EQ(pDacl, nullptr) << "a NULL DACL grants everyone full access";
    LocalFree(pSd);
    CloseHandle(hMutex);
}
