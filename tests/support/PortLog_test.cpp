#include "tests/support/PortLog.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
    // The twelve log lines of one EC access, as the program should produce them.
    std::string Sequence(unsigned nAddress, unsigned nValue, bool bWrite)
    {
        char sz[512];
        snprintf(sz, sizeof sz,
                 "OUT 004E 2E\nOUT 004F 11\nOUT 004E 2F\nOUT 004F %02X\n"
                 "OUT 004E 2E\nOUT 004F 10\nOUT 004E 2F\nOUT 004F %02X\n"
                 "OUT 004E 2E\nOUT 004F 12\nOUT 004E 2F\n%s 004F %02X\n",
                 nAddress >> 8, nAddress & 0xFF, bWrite ? "OUT" : "INP", nValue);
        return sz;
    }
}

TEST(PortLog, DecodesReadsAndWritesInOrder)
{
    PortLog log = PortLog::Parse(Sequence(0x2000, 0x55, false) + Sequence(0x2001, 0x70, false) +
                                 Sequence(0x1060, 0x80, true) + Sequence(0xC4BD, 0x00, true) +
                                 Sequence(0xC4F6, 0x03, true));
    std::vector<EcOperation> expected = {
        {EcOperation::Read, 0x2000, 0x55},  {EcOperation::Read, 0x2001, 0x70},
        {EcOperation::Write, 0x1060, 0x80}, {EcOperation::Write, 0xC4BD, 0x00},
        {EcOperation::Write, 0xC4F6, 0x03},
    };
    EXPECT_EQ(log.Accesses().size(), 60u);
    EXPECT_EQ(log.EcOperations(), expected);
    EXPECT_EQ(Describe(expected[4]), "write C4F6=03");
}

TEST(PortLog, KeepsOnlyTheLowByteOfAPortAnswer)
{
    std::string strText = Sequence(0xC4F6, 0, false);
    strText.replace(strText.rfind("00"), 2, "1FF");
    std::vector<EcOperation> ops = PortLog::Parse(strText).EcOperations();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].byValue, 0xFF);
}

TEST(PortLog, LeavesOutALineStillBeingWrittenAndAcceptsCrLf)
{
    std::string strText = "OUT 004E 2E\r\nOUT 004F 11\r\nOUT 00";
    EXPECT_EQ(PortLog::Parse(strText).Accesses().size(), 2u);
}

TEST(PortLog, RejectsMalformedLines)
{
    EXPECT_THROW(PortLog::Parse("OUT 004E\n"), std::runtime_error);
    EXPECT_THROW(PortLog::Parse("PUT 004E 2E\n"), std::runtime_error);
    EXPECT_THROW(PortLog::Parse("OUT 004E 2E x\n"), std::runtime_error);
}

TEST(PortLog, RejectsSequencesThatAreNotAnIndirectAccess)
{
    // Low byte register selected before the high byte one.
    std::string strSwapped = Sequence(0xC4BD, 0, true);
    strSwapped.replace(strSwapped.find("004F 11"), 7, "004F 10");
    strSwapped.replace(strSwapped.find("004F 10", strSwapped.find("004F 10") + 1), 7, "004F 11");
    EXPECT_THROW(PortLog::Parse(strSwapped).EcOperations(), std::runtime_error);

    // Data access on the index port.
    std::string strWrongPort = Sequence(0xC4BD, 0, true);
    strWrongPort.replace(strWrongPort.rfind("OUT 004F"), 8, "OUT 004E");
    EXPECT_THROW(PortLog::Parse(strWrongPort).EcOperations(), std::runtime_error);
}

TEST(PortLog, UnfinishedAccessAtTheEndIsAnErrorUnlessAllowed)
{
    std::string strText = Sequence(0xC430, 2, false) + "OUT 004E 2E\nOUT 004F 11\n";
    PortLog log = PortLog::Parse(strText);
    EXPECT_THROW(log.EcOperations(), std::runtime_error);
    ASSERT_EQ(log.EcOperations(true).size(), 1u);
    EXPECT_EQ(log.EcOperations(true)[0].wAddress, 0xC430);
}

TEST(PortLog, MissingFileIsAnEmptyLog)
{
    EXPECT_TRUE(PortLog::Load(L"Z:\\no\\such\\folder\\ports.log").Accesses().empty());
}
