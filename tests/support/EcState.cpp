#include "tests/support/EcState.h"

#include "base/OwnedHandle.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"

#include <windows.h>

#include <stdexcept>

EcState EcState::Load(const std::wstring& strPath)
{
    EcState state;
    state.m_bytes = FileSystem::ReadBytes(strPath);
    if (state.m_bytes.size() != SIZE)
        throw std::runtime_error(
            "EC state file has " + std::to_string(state.m_bytes.size()) +
            " bytes instead of 65536: " + Text::ToUtf8(strPath)
        );
    return state;
}

void EcState::Create(const std::wstring& strPath, std::uint8_t byChip1, std::uint8_t byChip2)
{
    std::vector<unsigned char> bytes(SIZE);
    bytes[0x2000] = byChip1;
    bytes[0x2001] = byChip2;
    FileSystem::WriteBytes(strPath, bytes);
}

void EcState::Poke(const std::wstring& strPath, std::uint16_t wAddress, std::uint8_t byValue)
{
    const OwnedKernelHandle file(CreateFileW(
        FileSystem::LongForm(strPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, 0, nullptr
    ));
    if (!file)
        throw std::runtime_error("cannot open the EC state file: " + Text::ToUtf8(strPath));
    DWORD dwWritten = 0;
    if (SetFilePointer(file.Get(), wAddress, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file.Get(), &byValue, 1, &dwWritten, nullptr) || dwWritten != 1)
        throw std::runtime_error("cannot write the EC state file: " + Text::ToUtf8(strPath));
}
