#include "framework/Text.h"
#include <windows.h>

std::wstring WidenAnsi(const char* lpsz)
{
    if (lpsz == nullptr || *lpsz == '\0')
        return {};
    int nLength = ::MultiByteToWideChar(CP_ACP, 0, lpsz, -1, nullptr, 0);
    if (nLength <= 0)
        return {};
    std::wstring str(static_cast<size_t>(nLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, lpsz, -1, str.data(), nLength);
    str.resize(static_cast<size_t>(nLength - 1));
    return str;
}

std::string NarrowAnsi(const wchar_t* lpsz)
{
    if (lpsz == nullptr || *lpsz == L'\0')
        return {};
    int nLength = ::WideCharToMultiByte(CP_ACP, 0, lpsz, -1, nullptr, 0, nullptr, nullptr);
    if (nLength <= 0)
        return {};
    std::string str(static_cast<size_t>(nLength), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, lpsz, -1, str.data(), nLength, nullptr, nullptr);
    str.resize(static_cast<size_t>(nLength - 1));
    return str;
}
