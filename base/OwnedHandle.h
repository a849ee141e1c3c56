#pragma once
#include <windows.h>

#include <type_traits>
#include <utility>

// Owns one system handle and gives it back through Destroy when it is reset,
// replaced or destroyed. Move-only, so a handle has exactly one owner.
//
// "No handle" is always held as nullptr: kernel calls that answer
// INVALID_HANDLE_VALUE for a failure (CreateFile, CreateToolhelp32Snapshot)
// hand it over as it is, and the owner holds nothing.
template <class THandle, auto Destroy> class OwnedHandle
{
public:
    OwnedHandle() = default;
    explicit OwnedHandle(THandle hHandle)
        : m_hHandle(NoneAsNull(hHandle))
    {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept
        : m_hHandle(other.Release())
    {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~OwnedHandle() { Reset(); }

    THandle Get() const { return m_hHandle; }
    explicit operator bool() const { return m_hHandle != nullptr; }

    // Hands the handle back to the caller, who destroys it from then on.
    THandle Release() { return std::exchange(m_hHandle, nullptr); }
    // Destroys the handle held and takes hHandle instead; taking the handle
    // already held keeps it alive.
    void Reset(THandle hHandle = nullptr)
    {
        hHandle = NoneAsNull(hHandle);
        if (hHandle == m_hHandle)
            return;
        if (m_hHandle != nullptr)
            Destroy(m_hHandle);
        m_hHandle = hHandle;
    }

private:
    static THandle NoneAsNull(THandle hHandle)
    {
        if constexpr (std::is_same_v<THandle, HANDLE>)
            return hHandle == INVALID_HANDLE_VALUE ? nullptr : hHandle;
        else
            return hHandle;
    }

    THandle m_hHandle = nullptr;
};

namespace OwnedHandleDetail
{
    // The system's release calls answer a status nobody acts on at this point;
    // these give the owner the one-argument, void shape it calls.
    inline void CloseKernelHandle(HANDLE hHandle)
    {
        ::CloseHandle(hHandle);
    }
    inline void UnloadLibrary(HMODULE hModule)
    {
        ::FreeLibrary(hModule);
    }
    inline void CloseKey(HKEY hKey)
    {
        ::RegCloseKey(hKey);
    }
    inline void DeleteBitmap(HBITMAP hBitmap)
    {
        ::DeleteObject(hBitmap);
    }
}   // namespace OwnedHandleDetail

// Kernel objects: mutexes, events, files, mappings, processes, threads.
using OwnedKernelHandle = OwnedHandle<HANDLE, &OwnedHandleDetail::CloseKernelHandle>;
// A library loaded with LoadLibrary.
using OwnedModule = OwnedHandle<HMODULE, &OwnedHandleDetail::UnloadLibrary>;
// A registry key opened or created by the program (never a predefined root).
using OwnedKey = OwnedHandle<HKEY, &OwnedHandleDetail::CloseKey>;
// Pictures.
using OwnedIcon = OwnedHandle<HICON, &::DestroyIcon>;
using OwnedCursor = OwnedHandle<HCURSOR, &::DestroyCursor>;
using OwnedBitmap = OwnedHandle<HBITMAP, &OwnedHandleDetail::DeleteBitmap>;
