#pragma once
#include <string>

// Conversions between the ANSI code page of narrow strings and UTF-16.
std::wstring WidenAnsi(const char* lpsz);
std::string NarrowAnsi(const wchar_t* lpsz);
