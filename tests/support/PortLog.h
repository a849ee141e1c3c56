#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// One port access as the simulator logs it: "OUT 004E 2E" or "INP 004F 03".
struct PortAccess
{
    bool bOut;
    std::uint16_t wPort;
    std::uint16_t wValue;

    bool operator==(const PortAccess&) const = default;
};

// One EC byte access, decoded from the twelve port accesses it is made of.
struct EcOperation
{
    enum Kind
    {
        Read,
        Write
    };
    Kind kind;
    std::uint16_t wAddress;
    std::uint8_t byValue;

    bool operator==(const EcOperation&) const = default;
};

inline EcOperation EcRead(std::uint16_t wAddress, std::uint8_t byValue)
{
    return {EcOperation::Read, wAddress, byValue};
}
inline EcOperation EcWrite(std::uint16_t wAddress, std::uint8_t byValue)
{
    return {EcOperation::Write, wAddress, byValue};
}

std::string Describe(const EcOperation& op);
// How a test framework prints one in a failure message.
void PrintTo(const EcOperation& op, std::ostream* pStream);   // "write C4BD=00", for failure messages

// The simulator's port log, parsed and decoded. Decoding is strict: anything that
// is not a complete, well-formed indirect EC access (index 0x2E/0x2F on 0x4E, the
// address high byte before the low byte, the data register last) is an error, so
// a wrong sequence fails the test instead of being read as something else.
class PortLog
{
public:
    // Parses complete lines; a last line without its newline (still being
    // written by the other process) is left out. Throws std::runtime_error on a
    // malformed line.
    static PortLog Parse(const std::string& strText);
    // Reads and parses a log file; a file that does not exist yet is an empty log.
    static PortLog Load(const std::wstring& strPath);

    const std::vector<PortAccess>& Accesses() const { return m_accesses; }

    // Throws std::runtime_error naming the first access that breaks the sequence.
    // An incomplete sequence at the end is an error too, unless bAllowUnfinished
    // is set (the other process may be in the middle of an access while we read).
    std::vector<EcOperation> EcOperations(bool bAllowUnfinished = false) const;

private:
    std::vector<PortAccess> m_accesses;
};
