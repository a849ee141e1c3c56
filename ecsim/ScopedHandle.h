#pragma once
#include <windows.h>

// Owns a kernel handle and closes it. Accepts both "no handle" spellings
// (NULL and INVALID_HANDLE_VALUE), since CreateFile and the rest disagree.
class ScopedHandle
{
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE hHandle)
        : m_hHandle(hHandle)
    {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return m_hHandle; }
    bool IsValid() const { return m_hHandle != nullptr && m_hHandle != INVALID_HANDLE_VALUE; }

    void Reset(HANDLE hHandle = nullptr)
    {
        if (IsValid())
            CloseHandle(m_hHandle);
        m_hHandle = hHandle;
    }

private:
    HANDLE m_hHandle = nullptr;
};
