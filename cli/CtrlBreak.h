#pragma once
#include <windows.h>

// Catches Ctrl+C and Ctrl+Break for as long as it lives, so that the program
// ends at a point of its own choosing: never between the two writes of a mode
// change, nor inside an EC access while it holds the port mutex. One at a time.
class CtrlBreak
{
public:
    CtrlBreak();
    ~CtrlBreak();
    CtrlBreak(const CtrlBreak&) = delete;
    CtrlBreak& operator=(const CtrlBreak&) = delete;

    // Waits up to dwMilliseconds; true as soon as the user pressed Ctrl+C or
    // Ctrl+Break (now or before).
    bool Wait(DWORD dwMilliseconds) const;

private:
    static BOOL WINAPI OnConsoleCtrl(DWORD dwCtrlType);
    // Manual reset: once pressed, stays pressed. Null if it could not be made.
    static HANDLE PressedEvent();
};
