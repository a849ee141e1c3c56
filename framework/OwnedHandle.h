#pragma once
#include <windows.h>
#include <utility>

// Owns one system handle and gives it back through Destroy when it is reset,
// replaced or destroyed. Move-only, so a handle has exactly one owner.
template <class THandle, auto Destroy> class OwnedHandle
{
public:
    OwnedHandle() = default;
    explicit OwnedHandle(THandle hHandle)
        : m_hHandle(hHandle)
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
        if (hHandle == m_hHandle)
            return;
        if (m_hHandle != nullptr)
            Destroy(m_hHandle);
        m_hHandle = hHandle;
    }

private:
    THandle m_hHandle = nullptr;
};

namespace OwnedHandleDetail
{
    inline void DeleteBitmap(HBITMAP hBitmap)
    {
        ::DeleteObject(hBitmap);
    }
}   // namespace OwnedHandleDetail

using OwnedIcon = OwnedHandle<HICON, &::DestroyIcon>;
using OwnedCursor = OwnedHandle<HCURSOR, &::DestroyCursor>;
using OwnedBitmap = OwnedHandle<HBITMAP, &OwnedHandleDetail::DeleteBitmap>;
