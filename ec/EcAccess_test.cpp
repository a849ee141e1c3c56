#include "ec/EcAccess.h"

#include <gtest/gtest.h>

#include "tests/support/ec/EcTestSupport.h"

#include <utility>

using Lines = std::vector<std::string>;

// The protocol written out in full, port by port; the other tests read the
// log through the decoder, which refuses any other order.
TEST(EcAccess, WriteAndReadAreTwelvePortAccessesHighAddressByteFirst)
{
    auto pEc = ProbedEc(0x55, 0x70);
    SimHarness& sim = ProcessSim();
    const Lines address = {"OUT 004E 2E", "OUT 004F 11", "OUT 004E 2F", "OUT 004F C4", "OUT 004E 2E", "OUT 004F 10",
                           "OUT 004E 2F", "OUT 004F F6", "OUT 004E 2E", "OUT 004F 12", "OUT 004E 2F"};
    sim.Ec()[0xC4F6] = 0xAA;

    pEc->WriteEcByte(0xC4F6, 0x03);
    Lines written = address;
    written.push_back("OUT 004F 03");
    EXPECT_EQ(sim.NewLogLines(), written);
    EXPECT_EQ(sim.Ec()[0xC4F6], 0x03);

    sim.Ec()[0xC4F6] = 0x04;
    EXPECT_EQ(pEc->ReadEcByte(0xC4F6), 0x04);
    Lines read = address;
    read.push_back("INP 004F 04");
    EXPECT_EQ(sim.NewLogLines(), read);

    // Both address bytes reach the chip: the corners of the address space.
    for (WORD wAddress : {0x0000, 0x00FF, 0xFF00})
    {
        pEc->WriteEcByte(wAddress, 0x5A);
        EXPECT_EQ(sim.Ec()[wAddress], 0x5A) << std::hex << wAddress;
        EXPECT_EQ(pEc->ReadEcByte(wAddress), 0x5A) << std::hex << wAddress;
        sim.Ec()[wAddress] = 0;
    }
}

TEST(EcAccess, ReadKeepsOnlyTheLowByteOfThePortAnswer)
{
    auto pEc = ProbedEc(0x55, 0x70);
    auto pfnSetHighBits = SimHarness::IoExport<void(__stdcall*)(short)>("EcSimSetInp32HighBits");
    ASSERT_NE(pfnSetHighBits, nullptr);
    // The port answers 0x1FF, then 0xFF00.
    const std::pair<short, BYTE> answers[] = {{0x0100, 0xFF}, {static_cast<short>(0xFF00), 0x00}};
    for (const auto& [nHighBits, byValue] : answers)
    {
        pfnSetHighBits(nHighBits);
        ProcessSim().Ec()[0xC4F6] = byValue;
        EXPECT_EQ(pEc->ReadEcByte(0xC4F6), byValue) << std::hex << nHighBits;
    }
    pfnSetHighBits(0);
}
