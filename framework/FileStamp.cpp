#include "framework/FileStamp.h"

#include <winternl.h>

namespace
{
    // FILE_NETWORK_OPEN_INFORMATION, the answer of NtQueryFullAttributesFile.
    struct FullAttributes
    {
        LARGE_INTEGER CreationTime;
        LARGE_INTEGER LastAccessTime;
        LARGE_INTEGER LastWriteTime;
        LARGE_INTEGER ChangeTime;
        LARGE_INTEGER AllocationSize;
        LARGE_INTEGER EndOfFile;
        ULONG FileAttributes;
    };

    using QueryFullAttributesFile = LONG(NTAPI*)(POBJECT_ATTRIBUTES, FullAttributes*);

    // The query behind GetFileAttributesEx, which alone also answers the change
    // time; ntdll has it on every NT system.
    QueryFullAttributesFile FindQuery()
    {
        static const auto pfnQuery = reinterpret_cast<QueryFullAttributesFile>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryFullAttributesFile"))
        );
        return pfnQuery;
    }

    bool StartsWith(const std::wstring& str, const wchar_t* pszPrefix)
    {
        return str.rfind(pszPrefix, 0) == 0;
    }

    // The system's own name of a path: \??\C:\dir\file, \??\UNC\server\share\file.
    std::wstring NtPathOf(const std::wstring& strPath)
    {
        const DWORD nSize = ::GetFullPathNameW(strPath.c_str(), 0, nullptr, nullptr);
        if (nSize == 0)
            return {};
        std::wstring strFull(nSize, L'\0');
        const DWORD nLen = ::GetFullPathNameW(strPath.c_str(), nSize, strFull.data(), nullptr);
        if (nLen == 0 || nLen >= nSize)
            return {};
        strFull.resize(nLen);
        if (StartsWith(strFull, L"\\\\?\\") || StartsWith(strFull, L"\\\\.\\"))
            return L"\\??\\" + strFull.substr(4);
        if (StartsWith(strFull, L"\\\\"))
            return L"\\??\\UNC\\" + strFull.substr(2);
        return L"\\??\\" + strFull;
    }
}   // namespace

LONGLONG FileStamp::SystemTime()
{
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

std::optional<FileStamp> FileStamp::Of(const std::wstring& strPath, Clock clock)
{
    const QueryFullAttributesFile pfnQuery = FindQuery();
    std::wstring strNtPath = NtPathOf(strPath);
    const size_t cbName = strNtPath.size() * sizeof(wchar_t);
    if (pfnQuery == nullptr || strNtPath.empty() || cbName > 0xFFFE)
        return std::nullopt;

    UNICODE_STRING name;
    name.Buffer = strNtPath.data();
    name.Length = static_cast<USHORT>(cbName);
    name.MaximumLength = static_cast<USHORT>(cbName);
    // By name: the 64-bit headers put padding between the fields.
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    attributes.ObjectName = &name;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    // The clock is read first: a change made during the query then lies after it.
    const LONGLONG nTakenAt = clock();
    FullAttributes info{};
    if (pfnQuery(&attributes, &info) < 0)   // an NTSTATUS error
        return std::nullopt;

    FileStamp stamp;
    stamp.m_nTakenAt = nTakenAt;
    stamp.m_nSize = info.EndOfFile.QuadPart;
    stamp.m_nLastWriteTime = info.LastWriteTime.QuadPart;
    stamp.m_nChangeTime = info.ChangeTime.QuadPart;
    stamp.m_nAttributes = info.FileAttributes;
    return stamp;
}

// A time in the future (a clock set back) is never settled.
bool FileStamp::IsSettled() const
{
    const LONGLONG nLatest = m_nLastWriteTime > m_nChangeTime ? m_nLastWriteTime : m_nChangeTime;
    return m_nTakenAt - nLatest > COARSEST_TIME_STEP;
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return m_nSize == other.m_nSize && m_nLastWriteTime == other.m_nLastWriteTime &&
           m_nChangeTime == other.m_nChangeTime && m_nAttributes == other.m_nAttributes;
}
