#include "app/SkinDirectory.h"

#include <vector>

namespace
{
    constexpr WORD LANG_CHINESE_PRC = 0x0804;
    constexpr DWORD FIRST_PATH_BUFFER = 512;
    // The longest path Windows knows (32,767 characters) fits below this.
    constexpr DWORD LONGEST_PATH_BUFFER = 0x10000;

    std::wstring Widen(const std::string& str)
    {
        int nLen = MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0);
        std::wstring strWide(nLen, L'\0');
        MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), strWide.data(), nLen);
        return strWide;
    }

    std::string Narrow(const std::wstring& str)
    {
        int nLen = WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0, nullptr, nullptr);
        std::string strNarrow(nLen, '\0');
        WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), strNarrow.data(), nLen, nullptr, nullptr);
        return strNarrow;
    }

    bool StartsWith(const std::wstring& str, const wchar_t* pszPrefix)
    {
        return str.rfind(pszPrefix, 0) == 0;
    }

    // The folder's short form, asked for with the "\\?\" prefix that lifts the
    // length limit; the folder unchanged when the file system has no short form.
    std::string ShortFolder(const std::string& strFolder)
    {
        std::wstring strWide = Widen(strFolder);
        std::wstring strLong = StartsWith(strWide, L"\\\\") ? L"\\\\?\\UNC\\" + strWide.substr(2)
                                                            : L"\\\\?\\" + strWide;
        DWORD nSize = GetShortPathNameW(strLong.c_str(), nullptr, 0);
        if (nSize == 0)
            return strFolder;
        std::wstring strShort(nSize, L'\0');
        strShort.resize(GetShortPathNameW(strLong.c_str(), strShort.data(), nSize));
        if (StartsWith(strShort, L"\\\\?\\UNC\\"))
            strShort = L"\\\\" + strShort.substr(8);
        else if (StartsWith(strShort, L"\\\\?\\"))
            strShort = strShort.substr(4);
        return strShort.empty() ? strFolder : Narrow(strShort);
    }
}

namespace SkinDirectory
{
    std::string ExecutablePath(const ModulePathReader& readPath)
    {
        for (DWORD nSize = FIRST_PATH_BUFFER; nSize <= LONGEST_PATH_BUFFER; nSize *= 2)
        {
            std::vector<char> buffer(nSize);
            DWORD nLen = readPath(buffer.data(), nSize);
            if (nLen == 0)
                return {};
            if (nLen < nSize)   // it fitted, terminator included
                return std::string(buffer.data(), nLen);
        }
        return {};
    }

    std::string ExecutablePath()
    {
        return ExecutablePath([](char* pszBuffer, DWORD nSize) { return GetModuleFileNameA(nullptr, pszBuffer, nSize); });
    }

    std::string FolderOf(const std::string& strPath)
    {
        size_t nSlash = strPath.rfind('\\');
        return nSlash == std::string::npos ? strPath : strPath.substr(0, nSlash);
    }

    const char* FolderName(WORD wLangId)
    {
        return wLangId == LANG_CHINESE_PRC ? "skin_CN" : "skin_EN";
    }

    std::string ForLanguage(const std::string& strExeDir, WORD wLangId)
    {
        return strExeDir + "\\" + FolderName(wLangId);
    }

    std::string FilePath(const std::string& strSkinDir, const char* pszName)
    {
        std::string strPath = strSkinDir + "\\" + pszName;
        if (strPath.size() < MAX_PATH)
            return strPath;
        return ShortFolder(strSkinDir) + "\\" + pszName;
    }
}
