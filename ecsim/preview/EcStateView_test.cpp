#include "EcStateView.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// A state file in the temporary folder, written through its own handle as the
// simulator would write it.
class StateFileFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szDir[MAX_PATH], szFile[MAX_PATH];
        GetTempPathA(MAX_PATH, szDir);
        GetTempFileNameA(szDir, "ecs", 0, szFile);
        m_strPath = szFile;
    }
    void TearDown() override { DeleteFileA(m_strPath.c_str()); }

    void WriteState(BYTE id1, BYTE id2, size_t cbSize = EcStateView::STATE_SIZE)
    {
        std::vector<BYTE> bytes(cbSize, 0);
        if (cbSize == EcStateView::STATE_SIZE)
        {
            bytes[0x2000] = id1;
            bytes[0x2001] = id2;
        }
        WriteAt(0, bytes.data(), static_cast<DWORD>(bytes.size()), CREATE_ALWAYS);
    }

    void Poke(DWORD dwAddr, BYTE byValue) { WriteAt(dwAddr, &byValue, 1, OPEN_EXISTING); }

    void WriteAt(DWORD dwOffset, const BYTE* pData, DWORD cb, DWORD dwDisposition)
    {
        HANDLE h = CreateFileA(m_strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               dwDisposition, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SetFilePointer(h, static_cast<LONG>(dwOffset), nullptr, FILE_BEGIN);
        DWORD cbWritten = 0;
        WriteFile(h, pData, cb, &cbWritten, nullptr);
        CloseHandle(h);
    }

    std::string m_strPath;
};
} // namespace

TEST_F(StateFileFixture, ChipIdChoosesTheRamBaseLikeTheProgram)
{
    const struct
    {
        BYTE id1, id2;
        WORD wBase;
    } cases[] = {{0x55, 0x70, 0xC400}, {0x55, 0x71, 0xC400}, {0x55, 0x72, 0x0400}, {0x54, 0x70, 0x0400},
                 {0x00, 0x00, 0x0400}};
    for (const auto& c : cases)
    {
        WriteState(c.id1, c.id2);
        Poke(c.wBase + EcStateView::LED_MODE_OFFSET, 3);
        Poke(c.wBase + EcStateView::POWER_LEVEL_OFFSET, 2);
        EcStateView state;
        ASSERT_TRUE(state.Open(m_strPath));
        EXPECT_EQ(state.RamBase(), c.wBase) << std::hex << int(c.id1) << ":" << int(c.id2);
        EXPECT_EQ(state.Mode(), 3);
        EXPECT_EQ(state.PowerLevel(), 2);
    }
}

TEST_F(StateFileFixture, SeesWritesOfOtherProcessesWithoutReopening)
{
    WriteState(0x55, 0x70);
    EcStateView state;
    ASSERT_TRUE(state.Open(m_strPath));
    EXPECT_EQ(state.Mode(), 0);
    Poke(0xC4F6, 4);
    Poke(0xC430, 3);
    EXPECT_EQ(state.Mode(), 4);
    EXPECT_EQ(state.PowerLevel(), 3);
    // A changed chip id moves the base at once.
    Poke(0x2001, 0x00);
    Poke(0x04F6, 1);
    EXPECT_EQ(state.RamBase(), 0x0400);
    EXPECT_EQ(state.Mode(), 1);
}

TEST_F(StateFileFixture, RefusesMissingAndMisSizedFiles)
{
    EcStateView state;
    DeleteFileA(m_strPath.c_str());
    EXPECT_FALSE(state.Open(m_strPath));
    WriteState(0, 0, 0);
    EXPECT_FALSE(state.Open(m_strPath)); // empty: the simulator has not filled it yet
    WriteState(0, 0, 100);
    EXPECT_FALSE(state.Open(m_strPath));
    WriteState(0, 0, EcStateView::STATE_SIZE + 1);
    EXPECT_FALSE(state.Open(m_strPath));
    EXPECT_FALSE(state.IsOpen());
    WriteState(0x55, 0x70);
    EXPECT_TRUE(state.Open(m_strPath));
}

TEST(EcStateViewPath, FollowsTheSimulatorsRule)
{
    SetEnvironmentVariableA("ECSIM_STATE", nullptr);
    EXPECT_EQ(EcStateView::DefaultPath("C:\\Tools"), "C:\\Tools\\ecsim-state.bin");
    SetEnvironmentVariableA("ECSIM_STATE", "D:\\elsewhere\\ec.bin");
    EXPECT_EQ(EcStateView::DefaultPath("C:\\Tools"), "D:\\elsewhere\\ec.bin");
    SetEnvironmentVariableA("ECSIM_STATE", nullptr);
}
