#pragma once
// GDI objects held by another process. GetGuiResources is a stub under Wine
// (always 0), so there the count is read from Wine's GDI handle table, which the
// process's PEB points to; on Windows GetGuiResources answers.
#include <windows.h>

#include <optional>

namespace GdiCount
{
    // Live, non-stock GDI objects of the process; nothing when they cannot be read.
    std::optional<unsigned> Of(HANDLE hProcess);
}
