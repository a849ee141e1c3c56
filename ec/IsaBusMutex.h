#pragma once
#include <windows.h>

#include "base/OwnedHandle.h"

// The system-wide mutex by which programs that use the Super I/O ports take
// turns, so that none of them runs between the steps of another's indexed
// port sequence. Hardware-monitoring programs use the same name, and skip
// their access when they cannot have it; so do we.
class IsaBusMutex
{
public:
    static constexpr const char* NAME = "Global\\Access_ISABUS.HTP.Method";

    IsaBusMutex();
    IsaBusMutex(const IsaBusMutex&) = delete;
    IsaBusMutex& operator=(const IsaBusMutex&) = delete;

    // False when the mutex could be neither created nor opened (the name is
    // taken by another kind of object): then nobody can take turns with us,
    // and accesses go ahead unguarded.
    bool Exists() const { return static_cast<bool>(m_hMutex); }

    // The ports for one access or a run of them. The mutex may be taken again
    // by the thread that holds it, so a turn inside a turn costs no wait.
    class Turn
    {
    public:
        // Waits up to dwWaitLimitMs for another program's turn to end.
        Turn(const IsaBusMutex& mutex, DWORD dwWaitLimitMs);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

        // Whether the ports may be used: the mutex is held, or there is none.
        // False: another program kept it for the whole wait; touch no port.
        explicit operator bool() const { return m_bGranted; }

    private:
        HANDLE m_hOwned;   // null when the wait ran out or there is no mutex
        bool m_bGranted;
    };

private:
    OwnedKernelHandle m_hMutex;   // empty if it could be neither created nor opened
};
