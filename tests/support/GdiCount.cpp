#include "tests/support/GdiCount.h"

#include <winternl.h>

#include <vector>

namespace
{
    // Wine's GDI_HANDLE_ENTRY: Object (8), Owner (4), Unique (2), Type (1), Flags (1), UserPointer (8).
    const size_t ENTRY_SIZE = 24;
    const size_t ENTRY_COUNT = 65536;
    const size_t UNIQUE_OFFSET = 12;
    const size_t TYPE_OFFSET = 14;
    const unsigned STOCK_FLAG = 0x80;
    // PEB.GdiSharedHandleTable: the test programs are built like the program they count.
    const size_t PEB_GDI_TABLE_OFFSET = sizeof(void*) == 8 ? 0xF8 : 0x94;

    // Objects in a copy of Wine's table: entries with a type that are not stock objects.
    unsigned CountLiveEntries(const std::vector<unsigned char>& table)
    {
        unsigned nLive = 0;
        for (size_t off = 0; off + ENTRY_SIZE <= table.size(); off += ENTRY_SIZE)
        {
            const unsigned nUnique = table[off + UNIQUE_OFFSET] | (table[off + UNIQUE_OFFSET + 1] << 8);
            if (table[off + TYPE_OFFSET] != 0 && !(nUnique & STOCK_FLAG))
                ++nLive;
        }
        return nLive;
    }

    bool IsWine()
    {
        return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    }

    std::optional<unsigned> FromWineTable(HANDLE hProcess)
    {
        using QueryFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
        auto pfnQuery = reinterpret_cast<QueryFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess"))
        );
        PROCESS_BASIC_INFORMATION pbi = {};
        if (!pfnQuery || pfnQuery(hProcess, ProcessBasicInformation, &pbi, sizeof pbi, nullptr) != 0)
            return std::nullopt;
        ULONG_PTR dwTable = 0;
        const auto* pPeb = reinterpret_cast<const unsigned char*>(pbi.PebBaseAddress);
        if (!ReadProcessMemory(hProcess, pPeb + PEB_GDI_TABLE_OFFSET, &dwTable, sizeof dwTable, nullptr) || !dwTable)
            return std::nullopt;
        std::vector<unsigned char> table(ENTRY_SIZE * ENTRY_COUNT);
        if (!ReadProcessMemory(hProcess, reinterpret_cast<const void*>(dwTable), table.data(), table.size(), nullptr))
            return std::nullopt;
        return CountLiveEntries(table);
    }
}

std::optional<unsigned> GdiCount::Of(HANDLE hProcess)
{
    if (IsWine())
        return FromWineTable(hProcess);
    return GetGuiResources(hProcess, GR_GDIOBJECTS);
}
