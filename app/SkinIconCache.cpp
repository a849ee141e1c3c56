#include "app/SkinIconCache.h"

#include <algorithm>
#include <utility>

#include "framework/FilePath.h"
#include "framework/IconFile.h"

void SkinIconCache::SetFolder(const std::wstring& strFolder)
{
    m_strFolder = strFolder;
    m_entries.clear();
}

SharedIcon SkinIconCache::Icon(const wchar_t* pszFile)
{
    Entry& entry = EntryOf(pszFile);
    // The stamp is taken before the file is read: a change made while it is
    // read shows as a new stamp at the next lookup.
    std::optional<FileStamp> stamp = FileStamp::Of(entry.strPath, m_clock);
    if (stamp && stamp == entry.stamp && entry.stamp->IsSettled())
        return entry.icon;

    entry.icon = IconFile::Load(entry.strPath);
    // A file that could not be read is tried again at every lookup.
    entry.stamp = entry.icon ? std::move(stamp) : std::nullopt;
    return entry.icon;
}

SkinIconCache::Entry& SkinIconCache::EntryOf(const wchar_t* pszFile)
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [pszFile](const Entry& entry) {
        return entry.strFile == pszFile;
    });
    if (it != m_entries.end())
        return *it;
    // The path is worked out once: for a deep folder it takes a look at the disk.
    return m_entries.emplace_back(Entry{pszFile, FilePath::InFolder(m_strFolder, pszFile), std::nullopt, {}});
}
