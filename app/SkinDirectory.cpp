#include "app/SkinDirectory.h"

#include "res/resource.h"

namespace SkinDirectory
{
    const wchar_t* FolderName(WORD wLangId)
    {
        return wLangId == LANG_ID_CHINESE_PRC ? L"skin_CN" : L"skin_EN";
    }

    std::wstring ForLanguage(const std::wstring& strExeDir, WORD wLangId)
    {
        return strExeDir + L"\\" + FolderName(wLangId);
    }
}
