#pragma once
// Small wide-character file helpers for the tests. Every path goes through the
// "\\?\" form, so folders deeper than MAX_PATH work like any other.
#include <string>
#include <vector>

namespace FileSystem
{
    // "C:\a\b" -> "\\?\C:\a\b"; paths already in that form are left alone.
    std::wstring LongForm(const std::wstring& strPath);

    // A path that calls without long-path support can open: the short (8.3)
    // form of a path of MAX_PATH characters or more, else the path itself.
    std::wstring Openable(const std::wstring& strPath);

    // The folder part of a path, without the trailing backslash.
    std::wstring ParentOf(const std::wstring& strPath);

    bool Exists(const std::wstring& strPath);

    // Creates the folder and every missing folder above it; throws on failure.
    void CreateFolders(const std::wstring& strPath);

    // Copies a file or a whole folder tree; throws on failure.
    void Copy(const std::wstring& strFrom, const std::wstring& strTo);

    // Removes a file or a whole folder tree; a path that does not exist is fine.
    void Remove(const std::wstring& strPath);

    // The names of the files in a folder (not its folders); none when it does not exist.
    std::vector<std::wstring> FilesIn(const std::wstring& strFolder);

    std::vector<unsigned char> ReadBytes(const std::wstring& strPath);
    void WriteBytes(const std::wstring& strPath, const std::vector<unsigned char>& bytes);

    // A file's last-write time, as the file system keeps it; throws on failure.
    unsigned long long LastWriteTime(const std::wstring& strPath);
    void SetLastWriteTime(const std::wstring& strPath, unsigned long long nTime);

    // The folder that holds the running executable (the build's bin folder for the tests).
    std::wstring ModuleFolder();
    // The build's bin folder, where the product lies: the running executable's
    // own folder for the tests, bin/ beside tests/ for the benchmarks.
    std::wstring ProductFolder();
}
