#include "tests/support/PortLog.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
    // The twelve log lines of one EC access, as the program should produce them.
    std::string Sequence(unsigned nAddress, unsigned nValue, bool bWrite)
    {
        char sz[512];
        snprintf(
            sz, sizeof sz,
            "OUT 004E 2E\nOUT 004F 11\nOUT 004E 2F\nOUT 004F %02X\n"
            "OUT 004E 2E\nOUT 004F 10\nOUT 004E 2F\nOUT 004F %02X\n"
            "OUT 004E 2E\nOUT 004F 12\nOUT 004E 2F\n%s 004F %02X\n",
            nAddress >> 8, nAddress & 0xFF, bWrite ? "OUT" : "INP", nValue
        );
        return sz;
    }
}

TEST(PortLog, DecodesWholeAccessesInOrder)
{
    std::string strAnswer = Sequence(0x2001, 0x70, false);
    strAnswer.replace(strAnswer.rfind("70"), 2, "170");   // only the port answer's low byte counts
    const PortLog log = PortLog::Parse(
        Sequence(0x2000, 0x55, false) + strAnswer + Sequence(0xC4BD, 0x00, true) + Sequence(0xC4F6, 0x03, true) +
        "OUT 004E 2E\r\nOUT 004F 11\r\nOUT 00"
    );
    const std::vector<EcOperation> expected = {
        EcRead(0x2000, 0x55), EcRead(0x2001, 0x70), EcWrite(0xC4BD, 0x00), EcWrite(0xC4F6, 0x03)};
    // The line still being written is left out; the started access counts only when allowed.
    EXPECT_EQ(log.Accesses().size(), 50u);
    EXPECT_THROW(log.EcOperations(), std::runtime_error);
    EXPECT_EQ(log.EcOperations(true), expected);
    EXPECT_TRUE(PortLog::Load(L"Z:\\no\\such\\folder\\ports.log").Accesses().empty());
}

TEST(PortLog, RefusesMalformedLinesAndSequencesThatAreNotAnIndirectAccess)
{
    EXPECT_THROW(PortLog::Parse("OUT 004E\n"), std::runtime_error);
    EXPECT_THROW(PortLog::Parse("PUT 004E 2E\n"), std::runtime_error);
    EXPECT_THROW(PortLog::Parse("OUT 004E 2E x\n"), std::runtime_error);

    // The low address byte selected before the high one.
    std::string strSwapped = Sequence(0xC4BD, 0, true);
    strSwapped.replace(strSwapped.find("004F 11"), 7, "004F 10");
    strSwapped.replace(strSwapped.find("004F 10", strSwapped.find("004F 10") + 1), 7, "004F 11");
    EXPECT_THROW(PortLog::Parse(strSwapped).EcOperations(), std::runtime_error);

    // The data written through the index port.
    std::string strWrongPort = Sequence(0xC4BD, 0, true);
    strWrongPort.replace(strWrongPort.rfind("OUT 004F"), 8, "OUT 004E");
    EXPECT_THROW(PortLog::Parse(strWrongPort).EcOperations(), std::runtime_error);
}
