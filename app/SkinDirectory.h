#pragma once
// Where the skin files are: a folder beside the executable, chosen by the
// system's default language ("skin_CN" for Chinese (PRC), "skin_EN" for every
// other language). Skin files are opened through FilePath::InFolder.
#include <windows.h>

#include <string>

namespace SkinDirectory
{
    // "skin_CN" for language 0x0804, else "skin_EN".
    const wchar_t* FolderName(WORD wLangId);

    // strExeDir + "\skin_EN" or "\skin_CN".
    std::wstring ForLanguage(const std::wstring& strExeDir, WORD wLangId);
}
