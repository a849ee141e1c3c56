#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The simulator's EC state file: 65,536 bytes, byte i holding EC address i.
class EcState
{
public:
    static constexpr size_t SIZE = 0x10000;

    // Reads the whole file; throws std::runtime_error when it is missing or not
    // exactly 64 KiB.
    static EcState Load(const std::wstring& strPath);
    // Writes a state file with every byte zero except the given chip id bytes at
    // 0x2000/0x2001, so a test can prepare the EC before the program starts.
    static void Create(const std::wstring& strPath, std::uint8_t byChip1, std::uint8_t byChip2);
    // Changes one byte of an existing state file in place (the program sees it on
    // its next read, as the simulator shares the file between processes).
    static void Poke(const std::wstring& strPath, std::uint16_t wAddress, std::uint8_t byValue);

    std::uint8_t At(std::uint16_t wAddress) const { return m_bytes[wAddress]; }

private:
    std::vector<unsigned char> m_bytes;
};
