#include "tests/support/PortLog.h"

#include "tests/support/FileSystem.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace
{
    constexpr std::uint16_t INDEX_PORT = 0x4E;
    constexpr std::uint16_t DATA_PORT = 0x4F;
    constexpr std::uint16_t SELECT_REGISTER = 0x2E;
    constexpr std::uint16_t REGISTER_DATA = 0x2F;
    constexpr std::uint16_t ADDRESS_HIGH = 0x11;
    constexpr std::uint16_t ADDRESS_LOW = 0x10;
    constexpr std::uint16_t EC_DATA = 0x12;
    constexpr size_t ACCESSES_PER_OPERATION = 12;

    std::string Hex(unsigned nValue, int nDigits)
    {
        char sz[16];
        std::snprintf(sz, sizeof sz, "%0*X", nDigits, nValue);
        return sz;
    }

    std::string Describe(const PortAccess& a)
    {
        return std::string(a.bOut ? "OUT " : "INP ") + Hex(a.wPort, 4) + " " + Hex(a.wValue, 2);
    }

    PortAccess ParseLine(const std::string& strLine, size_t nLine)
    {
        char szKind[4] = {};
        unsigned nPort = 0;
        unsigned nValue = 0;
        char cExtra = 0;
        if (std::sscanf(strLine.c_str(), "%3s %x %x %c", szKind, &nPort, &nValue, &cExtra) != 3 ||
            (std::string(szKind) != "OUT" && std::string(szKind) != "INP") || nPort > 0xFFFF || nValue > 0xFFFF)
            throw std::runtime_error("port log line " + std::to_string(nLine) + " is malformed: \"" + strLine + "\"");
        return {std::string(szKind) == "OUT", static_cast<std::uint16_t>(nPort), static_cast<std::uint16_t>(nValue)};
    }

    // Checks that access i is the expected one, naming it on failure.
    void
    Expect(const std::vector<PortAccess>& accesses, size_t i, bool bOut, std::uint16_t wPort, int nValue /* -1: any */)
    {
        const PortAccess& a = accesses[i];
        if (a.bOut != bOut || a.wPort != wPort || (nValue >= 0 && a.wValue != nValue))
        {
            std::string strWanted = std::string(bOut ? "OUT " : "INP ") + Hex(wPort, 4) +
                                    (nValue >= 0 ? " " + Hex(static_cast<unsigned>(nValue), 2) : " xx");
            throw std::runtime_error(
                "port access " + std::to_string(i) + " is " + Describe(a) + ", expected " + strWanted
            );
        }
    }

    // Steps 1-5 of an indirect access: select a register through 0x4E, write it through 0x4F.
    void ExpectRegisterWrite(const std::vector<PortAccess>& accesses, size_t i, std::uint16_t wRegister, int nValue)
    {
        Expect(accesses, i, true, INDEX_PORT, SELECT_REGISTER);
        Expect(accesses, i + 1, true, DATA_PORT, wRegister);
        Expect(accesses, i + 2, true, INDEX_PORT, REGISTER_DATA);
        Expect(accesses, i + 3, true, DATA_PORT, nValue);
    }
}

std::string Describe(const EcOperation& op)
{
    return std::string(op.kind == EcOperation::Write ? "write " : "read ") + Hex(op.wAddress, 4) + "=" +
           Hex(op.byValue, 2);
}

void PrintTo(const EcOperation& op, std::ostream* pStream)
{
    *pStream << Describe(op);
}

PortLog PortLog::Parse(const std::string& strText)
{
    PortLog log;
    size_t nStart = 0;
    size_t nLine = 1;
    for (size_t nEnd; (nEnd = strText.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1, ++nLine)
    {
        std::string strLine = strText.substr(nStart, nEnd - nStart);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (!strLine.empty())
            log.m_accesses.push_back(ParseLine(strLine, nLine));
    }
    return log;
}

PortLog PortLog::Load(const std::wstring& strPath)
{
    if (!FileSystem::Exists(strPath))
        return {};
    std::vector<unsigned char> bytes = FileSystem::ReadBytes(strPath);
    return Parse(std::string(bytes.begin(), bytes.end()));
}

std::vector<EcOperation> PortLog::EcOperations(bool bAllowUnfinished) const
{
    std::vector<EcOperation> ops;
    const std::vector<PortAccess>& a = m_accesses;
    for (size_t i = 0; i < a.size(); i += ACCESSES_PER_OPERATION)
    {
        if (a.size() - i < ACCESSES_PER_OPERATION)
        {
            if (bAllowUnfinished)
                break;
            throw std::runtime_error(
                "port log ends inside an EC access (" + std::to_string(a.size() - i) +
                " of 12 port accesses, from access " + std::to_string(i) + ")"
            );
        }
        ExpectRegisterWrite(a, i, ADDRESS_HIGH, -1);
        ExpectRegisterWrite(a, i + 4, ADDRESS_LOW, -1);
        Expect(a, i + 8, true, INDEX_PORT, SELECT_REGISTER);
        Expect(a, i + 9, true, DATA_PORT, EC_DATA);
        Expect(a, i + 10, true, INDEX_PORT, REGISTER_DATA);
        const PortAccess& last = a[i + 11];
        if (last.wPort != DATA_PORT)
            Expect(a, i + 11, last.bOut, DATA_PORT, -1);
        std::uint16_t wAddress = static_cast<std::uint16_t>((a[i + 3].wValue & 0xFF) << 8 | (a[i + 7].wValue & 0xFF));
        ops.push_back(
            {last.bOut ? EcOperation::Write : EcOperation::Read, wAddress,
             static_cast<std::uint8_t>(last.wValue & 0xFF)}
        );
    }
    return ops;
}
