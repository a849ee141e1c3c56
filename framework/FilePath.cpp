#include "framework/FilePath.h"

#include <vector>

namespace
{
    constexpr DWORD FIRST_PATH_BUFFER = 512;
    // The longest path Windows knows (32,767 characters) fits below this.
    constexpr DWORD LONGEST_PATH_BUFFER = 0x10000;

    bool StartsWith(const std::wstring& str, const wchar_t* pszPrefix)
    {
        return str.rfind(pszPrefix, 0) == 0;
    }

    // The folder's short form, asked for with the "\\?\" prefix that lifts the
    // length limit; the folder unchanged when the file system has no short form.
    std::wstring ShortFolder(const std::wstring& strFolder)
    {
        const std::wstring strLong =
            StartsWith(strFolder, L"\\\\") ? L"\\\\?\\UNC\\" + strFolder.substr(2) : L"\\\\?\\" + strFolder;
        const DWORD nSize = GetShortPathNameW(strLong.c_str(), nullptr, 0);
        if (nSize == 0)
            return strFolder;
        std::wstring strShort(nSize, L'\0');
        strShort.resize(GetShortPathNameW(strLong.c_str(), strShort.data(), nSize));
        if (StartsWith(strShort, L"\\\\?\\UNC\\"))
            strShort = L"\\\\" + strShort.substr(8);
        else if (StartsWith(strShort, L"\\\\?\\"))
            strShort = strShort.substr(4);
        return strShort.empty() ? strFolder : strShort;
    }
}

namespace FilePath
{
    std::wstring ExecutablePath(const ModulePathReader& readPath)
    {
        for (DWORD nSize = FIRST_PATH_BUFFER; nSize <= LONGEST_PATH_BUFFER; nSize *= 2)
        {
            std::vector<wchar_t> buffer(nSize);
            const DWORD nLen = readPath(buffer.data(), nSize);
            if (nLen == 0)
                return {};
            if (nLen < nSize)   // it fitted, terminator included
                return std::wstring(buffer.data(), nLen);
        }
        return {};
    }

    std::wstring ExecutablePath()
    {
        return ExecutablePath([](wchar_t* pszBuffer, DWORD nSize) {
            return GetModuleFileNameW(nullptr, pszBuffer, nSize);
        });
    }

    std::wstring FolderOf(const std::wstring& strPath)
    {
        const size_t nSlash = strPath.rfind(L'\\');
        return nSlash == std::wstring::npos ? strPath : strPath.substr(0, nSlash);
    }

    std::wstring BaseNameOf(const std::wstring& strPath)
    {
        const size_t nSlash = strPath.find_last_of(L"\\/");
        std::wstring strName = nSlash == std::wstring::npos ? strPath : strPath.substr(nSlash + 1);
        const size_t nDot = strName.find_last_of(L'.');
        if (nDot != std::wstring::npos && nDot > 0)
            strName.erase(nDot);
        return strName;
    }

    std::wstring InFolder(const std::wstring& strFolder, const wchar_t* pszName)
    {
        std::wstring strPath = strFolder + L"\\" + pszName;
        if (strPath.size() < MAX_PATH)
            return strPath;
        return ShortFolder(strFolder) + L"\\" + pszName;
    }
}
