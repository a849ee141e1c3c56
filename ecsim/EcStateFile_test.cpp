#include "ecsim/EcStateFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ecsim/SimHarness.h"

namespace {

std::string FileBytes(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TEST(EcStateFile, NewFileIsTheWholeAddressSpaceWithTheChipIdAndAnotherSizeIsRefused)
{
    SimHarness sim;
    const std::string strPath = sim.PathOf("new.bin");
    const BYTE byChip[2] = {0x54, 0x70};
    EcStateFile state, refused;
    std::string strError;

    ASSERT_TRUE(state.Open(strPath, byChip, strError)) << strError;
    std::string strBytes = FileBytes(strPath);
    ASSERT_EQ(strBytes.size(), 65536u);
    EXPECT_EQ(BYTE(strBytes[0x2000]), 0x54);
    EXPECT_EQ(BYTE(strBytes[0x2001]), 0x70);
    strBytes[0x2000] = strBytes[0x2001] = 0;
    EXPECT_EQ(strBytes, std::string(65536, '\0'));
    // The file is written under a name of its own first; nothing of that stays.
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(sim.PathOf("*.new").c_str(), &data);
    EXPECT_EQ(hFind, INVALID_HANDLE_VALUE) << "left behind: " << data.cFileName;
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);

    const std::string strShort = sim.PathOf("short.bin");
    std::ofstream(strShort, std::ios::binary) << std::string(100, 'x');
    EXPECT_FALSE(refused.Open(strShort, byChip, strError));
    EXPECT_NE(strError.find("100 bytes"), std::string::npos) << strError;
    EXPECT_EQ(FileBytes(strShort), std::string(100, 'x'));
}

TEST(EcStateFile, EveryOpenerSharesTheBytesAndAnExistingFileIsKept)
{
    SimHarness sim;
    const std::string strPath = sim.PathOf("shared.bin");
    const BYTE byFirstChip[2] = {0x55, 0x71}, bySecondChip[2] = {0x12, 0x34};
    EcStateFile first, second;
    std::string strError;
    ASSERT_TRUE(first.Open(strPath, byFirstChip, strError)) << strError;
    ASSERT_TRUE(second.Open(strPath, bySecondChip, strError)) << strError;

    first.Bytes()[0xC4F6] = 0x04;

    EXPECT_EQ(second.Bytes()[0xC4F6], 0x04);
    EXPECT_EQ(second.Bytes()[0x2001], 0x71) << "the second opener's chip id applies to new files only";
    EXPECT_EQ(BYTE(FileBytes(strPath)[0xC4F6]), 0x04);
}
