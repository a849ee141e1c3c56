#include "ecsim/SuperIoPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

    class SuperIoPortsTest : public testing::Test
    {
    protected:
        void Select(BYTE byRegister, BYTE byValue)
        {
            m_ports.Out(0x4E, byRegister);
            m_ports.Out(0x4F, byValue);
        }
        // The first five steps of an indirect access: address high, low, data register.
        static void PointAt(SuperIoPorts& ports, WORD wAddress)
        {
            const BYTE steps[][2] = {
                {0x2E, 0x11}, {0x2F, BYTE(wAddress >> 8)}, {0x2E, 0x10}, {0x2F, BYTE(wAddress)}, {0x2E, 0x12}};
            for (const auto& step : steps)
            {
                ports.Out(0x4E, step[0]);
                ports.Out(0x4F, step[1]);
            }
        }
        std::size_t ChangedBytes() const { return m_ec.size() - std::count(m_ec.begin(), m_ec.end(), BYTE(0)); }

        SuperIoPorts::Registers m_registers{};
        std::vector<BYTE> m_ec = std::vector<BYTE>(0x10000);
        SuperIoPorts m_ports{&m_registers, m_ec.data()};
    };

}   // namespace

TEST_F(SuperIoPortsTest, IndirectDataRegisterReachesTheAddressedByte)
{
    PointAt(m_ports, 0xC4F6);
    Select(0x2E, 0x12);
    Select(0x2F, 0x03);
    EXPECT_EQ(m_ec[0xC4F6], 0x03);
    EXPECT_EQ(ChangedBytes(), 1u);
    m_ec[0x00FF] = 0x77;
    PointAt(m_ports, 0x00FF);
    m_ports.Out(0x4E, 0x2F);
    EXPECT_EQ(m_ports.In(0x4F), 0x77);
}

TEST_F(SuperIoPortsTest, ChipIdRegistersMirrorTheEcIdBytes)
{
    m_ec[0x2000] = 0x55;
    m_ec[0x2001] = 0x71;
    m_ports.Out(0x4E, 0x20);
    EXPECT_EQ(m_ports.In(0x4F), 0x55);
    m_ports.Out(0x4F, 0x00);
    m_ports.Out(0x4E, 0x21);
    EXPECT_EQ(m_ports.In(0x4F), 0x71);
    EXPECT_EQ(m_ec[0x2000], 0x55) << "the chip id is read-only";
}

// The chip's registers are one set for everybody: a second program that runs
// between two steps of the first one's access redirects it.
TEST_F(SuperIoPortsTest, AnotherUserBetweenTheStepsRedirectsTheWrite)
{
    SuperIoPorts other(&m_registers, m_ec.data());
    PointAt(m_ports, 0xC4F6);
    PointAt(other, 0x2000);
    Select(0x2F, 0x03);
    EXPECT_EQ(m_ec[0xC4F6], 0x00);
    EXPECT_EQ(m_ec[0x2000], 0x03);
}
