#pragma once
#include <windows.h>

#include <type_traits>
#include <utility>

// Owns one system handle and gives it back through Destroy when it is reset,
// replaced or destroyed. Move-only, so a handle has exactly one owner.
//
// The program's base/OwnedHandle.h in the same shape, under a name of its
// own: the simulator shares no code with the program, and test programs that
// use both see both. Beside the name it differs only in the kinds of handle
// it names below (the simulator's: kernel handles, libraries, file searches
// and mapped views; no pictures or registry keys).
//
// "No handle" is always held as nullptr: kernel calls that answer
// INVALID_HANDLE_VALUE for a failure (CreateFile, FindFirstFile) hand it over
// as it is, and the owner holds nothing.
template <class THandle, auto Destroy> class SimHandle
{
public:
    SimHandle() = default;
    explicit SimHandle(THandle hHandle)
        : m_hHandle(NoneAsNull(hHandle))
    {}
    SimHandle(const SimHandle&) = delete;
    SimHandle& operator=(const SimHandle&) = delete;
    SimHandle(SimHandle&& other) noexcept
        : m_hHandle(other.Release())
    {}
    SimHandle& operator=(SimHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~SimHandle() { Reset(); }

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

namespace SimHandleDetail
{
    // The system's release calls answer a status nobody acts on at this point;
    // these give the owner the one-argument, void shape it calls.
    inline void CloseKernelHandle(HANDLE hHandle)
    {
        CloseHandle(hHandle);
    }
    inline void CloseSearch(HANDLE hFind)
    {
        FindClose(hFind);
    }
    inline void UnloadLibrary(HMODULE hModule)
    {
        FreeLibrary(hModule);
    }
    inline void UnmapView(BYTE* pbyView)
    {
        UnmapViewOfFile(pbyView);
    }
}   // namespace SimHandleDetail

// Kernel objects: mutexes, events, files, mappings, processes, threads.
using SimKernelHandle = SimHandle<HANDLE, &SimHandleDetail::CloseKernelHandle>;
// A FindFirstFile search.
using SimSearch = SimHandle<HANDLE, &SimHandleDetail::CloseSearch>;
// A library loaded with LoadLibrary.
using SimModule = SimHandle<HMODULE, &SimHandleDetail::UnloadLibrary>;
// The bytes of a view MapViewOfFile made.
using SimView = SimHandle<BYTE*, &SimHandleDetail::UnmapView>;
