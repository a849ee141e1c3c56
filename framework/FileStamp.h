#pragma once
#include <windows.h>

#include <optional>
#include <string>

// One version of a file, told without opening it: its size, its attributes and
// its last-write and change times, from one query of the file system (no open,
// a few microseconds). The change time is what tells a replaced file: a copy
// keeps its source's size and last-write time, and files written within one
// tick of the system's clock share their write time, but every write to a
// file and every rename onto its path sets its change time.
class FileStamp
{
public:
    // The stamp of the file now; nullopt when there is no such file or the
    // file system cannot tell.
    static std::optional<FileStamp> Of(const std::wstring& strPath);

    bool operator==(const FileStamp& other) const = default;

private:
    LONGLONG m_nSize = 0;
    LONGLONG m_nLastWriteTime = 0;
    LONGLONG m_nChangeTime = 0;
    ULONG m_nAttributes = 0;
};
