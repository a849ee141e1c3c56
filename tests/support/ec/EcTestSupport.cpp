#include "tests/support/ec/EcTestSupport.h"

#include <gtest/gtest.h>

#include <exception>
#include <thread>

#include "ec/IsaBusMutex.h"

SimHarness& ProcessSim()
{
    static SimHarness* s_pSim = [] {
        auto* pSim = new SimHarness;   // lives until the process ends, like the loaded io.dll
        pSim->ExportEnvironment();
        return pSim;
    }();
    return *s_pSim;
}

std::unique_ptr<EcAccess> ProbedEc(BYTE byChipId1, BYTE byChipId2, DWORD dwAccessWaitLimitMs)
{
    SimHarness& sim = ProcessSim();
    sim.SetChipId(byChipId1, byChipId2);
    auto pEc = std::make_unique<EcAccess>(5000, dwAccessWaitLimitMs);
    EXPECT_EQ(pEc->GetState(), EcAccess::State::Ready);
    sim.NewLogLines();
    return pEc;
}

std::vector<EcOperation> EcOperationsOf(const std::vector<std::string>& lines)
{
    std::string strText;
    for (const std::string& strLine : lines)
        strText += strLine + "\n";
    try
    {
        return PortLog::Parse(strText).EcOperations();
    }
    catch (const std::exception& e)
    {
        ADD_FAILURE() << e.what();
        return {};
    }
}

std::vector<EcOperation> NewEcOperations()
{
    return EcOperationsOf(ProcessSim().NewLogLines());
}

bool PortMutexIsFree()
{
    DWORD dwWait = WAIT_FAILED;
    std::thread([&] {
        const SimKernelHandle hMutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, IsaBusMutex::NAME));
        dwWait = WaitForSingleObject(hMutex.Get(), 0);
        ReleaseMutex(hMutex.Get());   // fails unless the wait took it
    }).join();
    return dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
}

const PortMutexBlocker PORT_MUTEX_BLOCKERS[2] = {
    {"a mutex nobody may open", ERROR_ACCESS_DENIED,
     [] {
         SECURITY_DESCRIPTOR sd;
         InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
         ACL aclEmpty;
         InitializeAcl(&aclEmpty, sizeof aclEmpty, ACL_REVISION);
         SetSecurityDescriptorDacl(&sd, TRUE, &aclEmpty, FALSE);
         SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
         return SimKernelHandle(CreateMutexA(&sa, FALSE, IsaBusMutex::NAME));
     }},
    {"an event of its name", ERROR_INVALID_HANDLE,
     [] { return SimKernelHandle(CreateEventA(nullptr, TRUE, FALSE, IsaBusMutex::NAME)); }},
};
