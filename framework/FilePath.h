#pragma once
// Paths of the files the program opens, as UTF-16 so that a folder name any
// system can hold works, whatever the ANSI code page, and of any length.
#include <windows.h>

#include <functional>
#include <string>

namespace FilePath
{
    // Reads a module's path the way GetModuleFileNameW does: fills the buffer,
    // returns the length, or the buffer size when the path was cut.
    using ModulePathReader = std::function<DWORD(wchar_t* pszBuffer, DWORD nSize)>;

    // The running executable's full path, however long: the buffer grows until
    // the whole path fits. Empty when the path cannot be read.
    std::wstring ExecutablePath(const ModulePathReader& readPath);
    std::wstring ExecutablePath();

    // The path cut before its last backslash (the backslash goes too).
    std::wstring FolderOf(const std::wstring& strPath);

    // The file name without folder and extension.
    std::wstring BaseNameOf(const std::wstring& strPath);

    // strFolder + "\" + pszName, in a form the picture-loading calls can open:
    // they take no path of MAX_PATH characters or more, so a longer one is given
    // with the folder in its short (8.3) form; when the folder has none, as it stands.
    std::wstring InFolder(const std::wstring& strFolder, const wchar_t* pszName);
}
