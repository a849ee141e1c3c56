#include "ecsim/SimConfig.h"

#include <gtest/gtest.h>

#include <optional>

#include "ecsim/SimHarness.h"

namespace {

// Sets (or, with nullptr, removes) a variable for one test and puts it back.
class ScopedVariable {
public:
    ScopedVariable(const char* pszName, const char* pszValue) : m_pszName(pszName)
    {
        char szOld[1024];
        const DWORD dwLength = GetEnvironmentVariableA(pszName, szOld, sizeof szOld);
        if (dwLength > 0 && dwLength < sizeof szOld)
            m_old = szOld;
        SetEnvironmentVariableA(pszName, pszValue);
    }
    ~ScopedVariable() { SetEnvironmentVariableA(m_pszName, m_old ? m_old->c_str() : nullptr); }

private:
    const char* m_pszName;
    std::optional<std::string> m_old;
};

} // namespace

TEST(SimConfig, ChipIdIsTwoHexBytesAroundAColon)
{
    BYTE byId[2] = {};
    EXPECT_TRUE(SimConfig::ParseChipId("aB:0f", byId));
    EXPECT_EQ(byId[0], 0xAB);
    EXPECT_EQ(byId[1], 0x0F);

    for (const char* pszBad : {"", "5570", "55:7", "55-70", "55:7G", " 55:70", "55:700"}) {
        BYTE byUntouched[2] = {0x12, 0x34};
        EXPECT_FALSE(SimConfig::ParseChipId(pszBad, byUntouched)) << '"' << pszBad << '"';
        EXPECT_EQ(byUntouched[0], 0x12);
        EXPECT_EQ(byUntouched[1], 0x34);
    }
}

TEST(SimConfig, DefaultsWhenNothingIsSetElseTakesEveryVariable)
{
    SimConfig config;
    std::string strError;
    {
        ScopedVariable state("ECSIM_STATE", nullptr), chip("ECSIM_CHIP", nullptr), driver("ECSIM_DRIVER", nullptr),
            log("ECSIM_LOG", ""); // empty counts as unset
        ASSERT_TRUE(config.Load(nullptr, strError)) << strError;
        EXPECT_EQ(config.m_strStatePath, SimHarness::ProgramFolder() + "\\ecsim-state.bin");
        EXPECT_EQ(config.m_byChipId[0], 0x55);
        EXPECT_EQ(config.m_byChipId[1], 0x70);
        EXPECT_TRUE(config.m_bDriverOpen);
        EXPECT_EQ(config.m_strLogPath, "");
    }
    ScopedVariable state("ECSIM_STATE", "C:\\ec.bin"), chip("ECSIM_CHIP", "54:70"), driver("ECSIM_DRIVER", "closed"),
        log("ECSIM_LOG", "C:\\ports.log");
    SimConfig loaded;
    ASSERT_TRUE(loaded.Load(nullptr, strError)) << strError;
    EXPECT_EQ(loaded.m_strStatePath, "C:\\ec.bin");
    EXPECT_EQ(loaded.m_byChipId[0], 0x54);
    EXPECT_FALSE(loaded.m_bDriverOpen);
    EXPECT_EQ(loaded.m_strLogPath, "C:\\ports.log");
}
