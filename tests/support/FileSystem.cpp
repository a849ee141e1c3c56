#include "tests/support/FileSystem.h"

#include "base/OwnedHandle.h"
#include "tests/support/Text.h"

#include <windows.h>

#include <stdexcept>

namespace
{
    std::runtime_error Failure(const char* pszWhat, const std::wstring& strPath)
    {
        return std::runtime_error(
            std::string(pszWhat) + " failed (error " + std::to_string(GetLastError()) + "): " + Text::ToUtf8(strPath)
        );
    }

    using OwnedFind = OwnedHandle<HANDLE, &::FindClose>;

    bool IsFolder(const std::wstring& strPath)
    {
        DWORD dwAttr = GetFileAttributesW(FileSystem::LongForm(strPath).c_str());
        return dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_DIRECTORY);
    }

    // Calls fn(name, bFolder) for each entry of a folder except "." and "..".
    template <typename Fn> void ForEachEntry(const std::wstring& strFolder, Fn fn)
    {
        WIN32_FIND_DATAW fd;
        const OwnedFind find(FindFirstFileW(FileSystem::LongForm(strFolder + L"\\*").c_str(), &fd));
        if (!find)
            return;
        do
        {
            std::wstring strName = fd.cFileName;
            if (strName != L"." && strName != L"..")
                fn(strName, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        } while (FindNextFileW(find.Get(), &fd));
    }
}

namespace FileSystem
{
    std::wstring LongForm(const std::wstring& strPath)
    {
        if (strPath.rfind(L"\\\\?\\", 0) == 0)
            return strPath;
        return L"\\\\?\\" + strPath;
    }

    std::wstring Openable(const std::wstring& strPath)
    {
        if (strPath.size() < MAX_PATH)
            return strPath;
        std::wstring strLong = LongForm(strPath);
        DWORD nSize = GetShortPathNameW(strLong.c_str(), nullptr, 0);
        if (nSize == 0)
            return strPath;
        std::wstring strShort(nSize, L'\0');
        strShort.resize(GetShortPathNameW(strLong.c_str(), strShort.data(), nSize));
        return strShort.rfind(L"\\\\?\\", 0) == 0 ? strShort.substr(4) : strShort;
    }

    std::wstring ParentOf(const std::wstring& strPath)
    {
        size_t nSlash = strPath.find_last_of(L'\\');
        return nSlash == std::wstring::npos ? std::wstring() : strPath.substr(0, nSlash);
    }

    bool Exists(const std::wstring& strPath)
    {
        return GetFileAttributesW(LongForm(strPath).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    void CreateFolders(const std::wstring& strPath)
    {
        if (strPath.empty() || IsFolder(strPath))
            return;
        CreateFolders(ParentOf(strPath));
        if (!CreateDirectoryW(LongForm(strPath).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw Failure("CreateDirectory", strPath);
    }

    void Copy(const std::wstring& strFrom, const std::wstring& strTo)
    {
        if (!IsFolder(strFrom))
        {
            if (!CopyFileW(LongForm(strFrom).c_str(), LongForm(strTo).c_str(), FALSE))
                throw Failure("CopyFile", strFrom);
            return;
        }
        CreateFolders(strTo);
        ForEachEntry(strFrom, [&](const std::wstring& strName, bool) {
            Copy(strFrom + L"\\" + strName, strTo + L"\\" + strName);
        });
    }

    void Remove(const std::wstring& strPath)
    {
        if (!Exists(strPath))
            return;
        if (IsFolder(strPath))
        {
            ForEachEntry(strPath, [&](const std::wstring& strName, bool) { Remove(strPath + L"\\" + strName); });
            if (!RemoveDirectoryW(LongForm(strPath).c_str()))
                throw Failure("RemoveDirectory", strPath);
        }
        else if (!DeleteFileW(LongForm(strPath).c_str()))
        {
            throw Failure("DeleteFile", strPath);
        }
    }

    std::vector<std::wstring> FilesIn(const std::wstring& strFolder)
    {
        std::vector<std::wstring> names;
        ForEachEntry(strFolder, [&](const std::wstring& strName, bool bFolder) {
            if (!bFolder)
                names.push_back(strName);
        });
        return names;
    }

    std::vector<unsigned char> ReadBytes(const std::wstring& strPath)
    {
        // Others may hold the file open for writing (the simulator's log and state).
        const OwnedKernelHandle file(CreateFileW(
            LongForm(strPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, 0, nullptr
        ));
        if (!file)
            throw Failure("Opening", strPath);
        std::vector<unsigned char> bytes(GetFileSize(file.Get(), nullptr));
        DWORD dwRead = 0;
        if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &dwRead, nullptr))
            throw Failure("Reading", strPath);
        bytes.resize(dwRead);
        return bytes;
    }

    void WriteBytes(const std::wstring& strPath, const std::vector<unsigned char>& bytes)
    {
        const OwnedKernelHandle file(
            CreateFileW(LongForm(strPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr)
        );
        if (!file)
            throw Failure("Creating", strPath);
        DWORD dwWritten = 0;
        if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &dwWritten, nullptr) ||
            dwWritten != bytes.size())
            throw Failure("Writing", strPath);
    }

    unsigned long long LastWriteTime(const std::wstring& strPath)
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(LongForm(strPath).c_str(), GetFileExInfoStandard, &data))
            throw Failure("Reading the attributes of", strPath);
        return static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32 |
               data.ftLastWriteTime.dwLowDateTime;
    }

    void SetLastWriteTime(const std::wstring& strPath, unsigned long long nTime)
    {
        const OwnedKernelHandle file(CreateFileW(
            LongForm(strPath).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr
        ));
        const FILETIME ftWrite{static_cast<DWORD>(nTime), static_cast<DWORD>(nTime >> 32)};
        if (!file || !SetFileTime(file.Get(), nullptr, nullptr, &ftWrite))
            throw Failure("Setting the write time of", strPath);
    }

    std::wstring ModuleFolder()
    {
        std::wstring strPath(MAX_PATH, L'\0');
        for (;;)
        {
            DWORD dwLen = GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size()));
            if (dwLen < strPath.size())
            {
                strPath.resize(dwLen);
                return ParentOf(strPath);
            }
            strPath.resize(strPath.size() * 2);
        }
    }

    std::wstring ProductFolder()
    {
        const std::wstring strOwn = ModuleFolder();
        if (strOwn.size() >= 4 &&
            CompareStringOrdinal(strOwn.c_str() + strOwn.size() - 4, 4, L"\\bin", 4, TRUE) == CSTR_EQUAL)
            return strOwn;
        const std::wstring strBin = strOwn + L"\\..\\..\\bin";
        std::wstring strFull(MAX_PATH, L'\0');
        strFull.resize(GetFullPathNameW(strBin.c_str(), MAX_PATH, strFull.data(), nullptr));
        return strFull;
    }
}
