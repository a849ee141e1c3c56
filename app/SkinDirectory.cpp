#include "app/SkinDirectory.h"

namespace
{
    constexpr WORD LANG_CHINESE_PRC = 0x0804;
}

namespace SkinDirectory
{
    const wchar_t* FolderName(WORD wLangId)
    {
        return wLangId == LANG_CHINESE_PRC ? L"skin_CN" : L"skin_EN";
    }

    std::wstring ForLanguage(const std::wstring& strExeDir, WORD wLangId)
    {
        return strExeDir + L"\\" + FolderName(wLangId);
    }
}
