#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/FileStamp.h"
#include "framework/SharedIcon.h"

// The skin folder's icons, each read from its file once and shared with the
// buttons that show it. Every lookup asks the file system for the file's stamp
// (FileStamp: one query, no open) and reads the file again when it changed, so
// a picture replaced while the program runs is what the next lookup gives, and
// an unchanged one costs no decoding and no copy. A file changed too shortly
// before it was read (its stamp not settled) is read at every lookup until a
// settled stamp is taken: a second change within the same step of the file
// system's clock would not change the stamp.
class SkinIconCache
{
public:
    // clock: when stamps are taken (tests move it on).
    explicit SkinIconCache(FileStamp::Clock clock = FileStamp::SystemTime)
        : m_clock(clock)
    {}

    // The folder the file names are looked up in; changing it forgets every icon.
    void SetFolder(const std::wstring& strFolder);

    // The icon of a file in the folder at the size stored in it; empty when
    // the file is missing or is no icon the system can read.
    SharedIcon Icon(const wchar_t* pszFile);

private:
    struct Entry
    {
        std::wstring strFile;
        std::wstring strPath;
        std::optional<FileStamp> stamp;   // of the file as it was read; none: read again
        SharedIcon icon;
    };

    Entry& EntryOf(const wchar_t* pszFile);

    FileStamp::Clock m_clock;
    std::wstring m_strFolder;
    std::vector<Entry> m_entries;
};
