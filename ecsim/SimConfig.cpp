#include "ecsim/SimConfig.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace
{

    // An empty variable counts as unset, as it does for most Windows tools.
    std::optional<std::string> ReadVariable(const char* pszName)
    {
        DWORD dwSize = GetEnvironmentVariableA(pszName, nullptr, 0);
        if (dwSize == 0)
            return std::nullopt;
        std::vector<char> buffer(dwSize);
        DWORD dwLength = GetEnvironmentVariableA(pszName, buffer.data(), dwSize);
        if (dwLength == 0 || dwLength >= dwSize)
            return std::nullopt;
        return std::string(buffer.data(), dwLength);
    }

    std::string ModuleFolder(HMODULE hModule)
    {
        std::vector<char> buffer(MAX_PATH);
        for (;;)
        {
            DWORD dwLength = GetModuleFileNameA(hModule, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (dwLength < buffer.size())
            {
                std::string strPath(buffer.data(), dwLength);
                return strPath.substr(0, strPath.find_last_of("\\/") + 1);
            }
            buffer.resize(buffer.size() * 2);
        }
    }

    int HexDigit(char ch)
    {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
    }

}   // namespace

bool SimConfig::ParseChipId(const std::string& strText, BYTE (&byChipId)[2])
{
    if (strText.size() != 5 || strText[2] != ':')
        return false;
    const int nDigits[4] = {HexDigit(strText[0]), HexDigit(strText[1]), HexDigit(strText[3]), HexDigit(strText[4])};
    for (int nDigit : nDigits)
        if (nDigit < 0)
            return false;
    byChipId[0] = static_cast<BYTE>(nDigits[0] << 4 | nDigits[1]);
    byChipId[1] = static_cast<BYTE>(nDigits[2] << 4 | nDigits[3]);
    return true;
}

std::string SimConfig::SharedObjectName(const char* pszKind, const std::string& strPath)
{
    char szFull[MAX_PATH * 4];
    const DWORD dwLength = GetFullPathNameA(strPath.c_str(), sizeof szFull, szFull, nullptr);
    const std::string strFull = dwLength > 0 && dwLength < sizeof szFull ? szFull : strPath;
    DWORD dwHash = 2166136261u;   // FNV-1a over the case-folded path
    for (char ch : strFull)
    {
        dwHash ^= static_cast<BYTE>(std::toupper(static_cast<unsigned char>(ch == '/' ? '\\' : ch)));
        dwHash *= 16777619u;
    }
    char szName[96];
    std::snprintf(szName, sizeof szName, "Local\\ecsim-%s-%08lX", pszKind, static_cast<unsigned long>(dwHash));
    return szName;
}

bool SimConfig::Load(HMODULE hModule, std::string& strError)
{
    m_strStatePath = ReadVariable("ECSIM_STATE").value_or(ModuleFolder(hModule) + "ecsim-state.bin");
    m_strLogPath = ReadVariable("ECSIM_LOG").value_or("");

    if (auto chip = ReadVariable("ECSIM_CHIP"); chip && !ParseChipId(*chip, m_byChipId))
    {
        strError = "ECSIM_CHIP must be two hex bytes such as 55:70, not \"" + *chip + "\"";
        return false;
    }
    if (auto driver = ReadVariable("ECSIM_DRIVER"))
    {
        if (*driver != "open" && *driver != "closed")
        {
            strError = "ECSIM_DRIVER must be open or closed, not \"" + *driver + "\"";
            return false;
        }
        m_bDriverOpen = *driver == "open";
    }
    if (auto hold = ReadVariable("ECSIM_HOLD"))
    {
        char* pszEnd = nullptr;
        const unsigned long nAddress = std::strtoul(hold->c_str(), &pszEnd, 16);
        if (*pszEnd != '\0' || nAddress > 0xFFFF)
        {
            strError = "ECSIM_HOLD must be an EC address in hex, not \"" + *hold + "\"";
            return false;
        }
        m_nHoldAddress = static_cast<int>(nAddress);
    }
    return true;
}
