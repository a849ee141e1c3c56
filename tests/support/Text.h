#pragma once
// The harness's wide strings in UTF-8 (for messages and logs).
#include <string>

namespace Text
{
    std::string ToUtf8(const std::wstring& str);
}
