#pragma once
#include <windows.h>

#include <optional>
#include <string>

// One version of a file, told without opening it: its size, its attributes and
// its last-write and change times, from one query of the file system (no open,
// a few microseconds). The change time tells a replaced file: a copy keeps its
// source's size and last-write time, but every write to a file and every
// rename onto its path sets its change time.
//
// The times are kept in steps, though: NTFS takes them from the system clock,
// which advances about every 16 ms (more slowly on some systems), and FAT and
// exFAT keep a write time in 2-second steps and no change time at all. Two
// writes within one step leave equal stamps. So a stamp only stands for what
// the file holds once the file's times lie more than the coarsest step before
// the moment the stamp was taken (IsSettled); a file changed more recently
// must be read again.
class FileStamp
{
public:
    // The coarsest step in which a file system keeps a file's times (FAT's
    // write time), in FILETIME units of 100 ns.
    static constexpr LONGLONG COARSEST_TIME_STEP = 2 * 10'000'000LL;

    // The current time, as a FILETIME count.
    using Clock = LONGLONG (*)();
    static LONGLONG SystemTime();

    // The stamp of the file now, taken at the time clock gives; nullopt when
    // there is no such file or the file system cannot tell.
    static std::optional<FileStamp> Of(const std::wstring& strPath, Clock clock = SystemTime);

    // Whether any later change of the file will show as another stamp: its
    // write and change times lie more than COARSEST_TIME_STEP before the
    // stamp was taken.
    bool IsSettled() const;

    // The same version of the file; when the stamps were taken does not count.
    bool operator==(const FileStamp& other) const;

private:
    LONGLONG m_nSize = 0;
    LONGLONG m_nLastWriteTime = 0;
    LONGLONG m_nChangeTime = 0;
    ULONG m_nAttributes = 0;
    LONGLONG m_nTakenAt = 0;
};
