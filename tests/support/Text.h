#pragma once
// Conversions between the harness's wide strings and UTF-8 (for messages and logs).
#include <string>

namespace Text
{
    std::string ToUtf8(const std::wstring& str);
    std::wstring FromUtf8(const std::string& str);
}
