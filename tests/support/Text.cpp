#include "tests/support/Text.h"

#include <windows.h>

namespace Text
{
    std::string ToUtf8(const std::wstring& str)
    {
        if (str.empty())
            return {};
        int nLen =
            WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), nullptr, 0, nullptr, nullptr);
        std::string out(nLen, '\0');
        WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), out.data(), nLen, nullptr, nullptr);
        return out;
    }
}
