#include "tests/support/ec/EcTestSupport.h"

#include <cstdio>

SimHarness& ProcessSim()
{
    static SimHarness* s_pSim = [] {
        auto* pSim = new SimHarness; // lives until the process ends, like the loaded io.dll
        pSim->ExportEnvironment();
        return pSim;
    }();
    return *s_pSim;
}

std::unique_ptr<EcAccess> ProbedEc(BYTE byChipId1, BYTE byChipId2)
{
    SimHarness& sim = ProcessSim();
    sim.SetChipId(byChipId1, byChipId2);
    auto pEc = std::make_unique<EcAccess>();
    sim.NewLogLines();
    return pEc;
}

namespace {

std::string Line(const char* pszDirection, WORD wPort, BYTE byValue)
{
    char szLine[32];
    std::snprintf(szLine, sizeof szLine, "%s %04X %02X", pszDirection, wPort, byValue);
    return szLine;
}

std::vector<std::string> AddressLines(WORD wAddress)
{
    return {Line("OUT", 0x4E, 0x2E), Line("OUT", 0x4F, 0x11),
            Line("OUT", 0x4E, 0x2F), Line("OUT", 0x4F, static_cast<BYTE>(wAddress >> 8)),
            Line("OUT", 0x4E, 0x2E), Line("OUT", 0x4F, 0x10),
            Line("OUT", 0x4E, 0x2F), Line("OUT", 0x4F, static_cast<BYTE>(wAddress)),
            Line("OUT", 0x4E, 0x2E), Line("OUT", 0x4F, 0x12),
            Line("OUT", 0x4E, 0x2F)};
}

} // namespace

std::vector<std::string> EcReadLines(WORD wAddress, BYTE byAnswer)
{
    return Concat(AddressLines(wAddress), {Line("INP", 0x4F, byAnswer)});
}

std::vector<std::string> EcWriteLines(WORD wAddress, BYTE byValue)
{
    return Concat(AddressLines(wAddress), {Line("OUT", 0x4F, byValue)});
}

std::vector<std::string> Concat(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
