#pragma once
#include <windows.h>

#include <string>

// The simulator's settings, taken from the ECSIM_* environment variables of the
// process that loads it (see README.md for the whole interface).
class SimConfig
{
public:
    // Reads the variables; the default state file lies beside hModule.
    // On a malformed value returns false and says why in strError.
    bool Load(HMODULE hModule, std::string& strError);

    // Parses a chip id written as two hex bytes, "55:70".
    static bool ParseChipId(const std::string& strText, BYTE (&byChipId)[2]);

    // The name of a kernel object shared by every process that uses the file
    // at strPath, however they spell the path: "Local\ecsim-<kind>-<hash>".
    static std::string SharedObjectName(const char* pszKind, const std::string& strPath);

    std::string m_strStatePath;
    BYTE m_byChipId[2] = {0x55, 0x70};
    bool m_bDriverOpen = true;
    std::string m_strLogPath;   // empty: no log
    int m_nHoldAddress = -1;   // ECSIM_HOLD; -1: none
};
