#include "tests/support/ec/EcTestSupport.h"

#include <gtest/gtest.h>

#include <exception>

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
