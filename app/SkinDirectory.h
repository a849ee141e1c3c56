#pragma once
// Where the skin files are: a folder beside the executable, chosen by the
// system's default language ("skin_CN" for Chinese (PRC), "skin_EN" for every
// other language). Skin file paths are that folder, a backslash and the name.
#include <windows.h>

#include <functional>
#include <string>

namespace SkinDirectory
{
    // Reads the executable's path the way GetModuleFileNameA does: fills the
    // buffer, returns the length, or the buffer size when the path was cut.
    using ModulePathReader = std::function<DWORD(char* pszBuffer, DWORD nSize)>;

    // The executable's full path, however long: the buffer grows until the whole
    // path fits (a program installed deep down a long folder still finds its
    // skins). Empty when the path cannot be read.
    std::string ExecutablePath(const ModulePathReader& readPath);
    std::string ExecutablePath();

    // The path cut before its last backslash (the backslash goes too).
    std::string FolderOf(const std::string& strPath);

    // "skin_CN" for language 0x0804, else "skin_EN".
    const char* FolderName(WORD wLangId);

    // strExeDir + "\skin_EN" or "\skin_CN".
    std::string ForLanguage(const std::string& strExeDir, WORD wLangId);

    // strSkinDir + "\" + pszName. The file calls that load pictures take no
    // path of MAX_PATH characters or more, so a longer one is given with the
    // folder in its short (8.3) form; when the folder has none, as it stands.
    std::string FilePath(const std::string& strSkinDir, const char* pszName);
}
