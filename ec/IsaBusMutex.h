#pragma once
#include <windows.h>

#include <atomic>

#include "base/OwnedHandle.h"

// The system-wide mutex by which programs that use the Super I/O ports take
// turns, so that none of them runs between the steps of another's indexed
// port sequence. Hardware-monitoring programs use the same name, and skip
// their access when they cannot have it; so do we.
//
// When the mutex can be neither created nor opened, some other program made
// it for its own users only, or took the name for another kind of object; it
// may be using the ports right now, unseen. Then no turn is ever granted: the
// ports are left alone for good, as if another program held them.
class IsaBusMutex
{
public:
    static constexpr const char* NAME = "Global\\Access_ISABUS.HTP.Method";

    IsaBusMutex();
    IsaBusMutex(const IsaBusMutex&) = delete;
    IsaBusMutex& operator=(const IsaBusMutex&) = delete;

    // ERROR_SUCCESS when the mutex is there to take turns on; otherwise why it
    // could be neither created nor opened: ERROR_ACCESS_DENIED (another
    // program made it with a DACL that shuts us out), ERROR_INVALID_HANDLE
    // (the name is taken by an object of another kind) or another system error.
    DWORD OpenError() const { return m_dwOpenError; }

    // The ports for one access or a run of them. A turn inside a turn of the
    // same thread is granted at once, without a call to the system, so the
    // accesses of a run add nothing to the time other programs wait.
    class Turn
    {
    public:
        // Waits up to dwWaitLimitMs for another program's turn to end.
        Turn(const IsaBusMutex& mutex, DWORD dwWaitLimitMs);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

        // Whether the ports may be used: the mutex is held. False: another
        // program kept it for the whole wait, or there is none to hold; touch
        // no port.
        explicit operator bool() const { return m_bGranted; }

    private:
        const IsaBusMutex* m_pTaken;   // the mutex this turn took and gives back; null: none
        bool m_bGranted;
    };

private:
    OwnedKernelHandle m_hMutex;   // empty if it could be neither created nor opened
    DWORD m_dwOpenError;
    // The thread whose turn it is, 0 when the mutex is not held here. Written
    // only by that thread while it holds the mutex; any thread reads it.
    mutable std::atomic<DWORD> m_dwTurnThread;
};
