#pragma once
#include <windows.h>

// The system-wide mutex by which programs that use the Super I/O ports take
// turns, so that none of them runs between the steps of another's indexed
// port sequence. Hardware-monitoring programs use the same name.
class IsaBusMutex
{
public:
    static constexpr const char* NAME = "Global\\Access_ISABUS.HTP.Method";
    // How long an access waits for another program's turn to end before it
    // goes ahead regardless: a program that never lets go must not hang ours.
    static constexpr DWORD WAIT_LIMIT_MS = 100;

    IsaBusMutex();
    ~IsaBusMutex();
    IsaBusMutex(const IsaBusMutex&) = delete;
    IsaBusMutex& operator=(const IsaBusMutex&) = delete;

    // Holds the mutex for one port sequence, if it could be had in time.
    class Turn
    {
    public:
        explicit Turn(const IsaBusMutex& mutex);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        HANDLE m_hOwned;   // null when the wait ran out or there is no mutex
    };

private:
    HANDLE m_hMutex;   // null if it could be neither created nor opened
};
