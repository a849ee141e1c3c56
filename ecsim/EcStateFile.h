#pragma once
#include <windows.h>

#include <string>

#include "ecsim/MappedView.h"

// The EC's 64 KiB address space kept in a file (byte i = EC address i) and
// mapped, so every process that opens the same file sees the same EC.
class EcStateFile
{
public:
    // Opens the file, first creating it (zeros, byChipId at 0x2000/0x2001) if
    // it does not exist. On failure returns false and says why in strError.
    bool Open(const std::string& strPath, const BYTE (&byChipId)[2], std::string& strError);

    BYTE* Bytes() const { return m_view.Data(); }

private:
    static bool CreateIfMissing(const std::string& strPath, const BYTE (&byChipId)[2], std::string& strError);

    MappedView m_view;
};
