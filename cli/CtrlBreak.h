#pragma once
#include <windows.h>

#include <string>

// Catches Ctrl+C and Ctrl+Break for as long as it lives, so that the program
// ends at a point of its own choosing: never between the two writes of a mode
// change, nor inside an EC access while it holds the port mutex. One at a time.
// Another program of the same session asks for the same by setting the event
// StopEventName names: the installer does, before it replaces velkorctl.exe.
class CtrlBreak
{
public:
    // The session's name of the event that stands for a press in the process
    // dwProcessId.
    static std::wstring StopEventName(DWORD dwProcessId)
    {
        return L"Local\\velkorctl.stop." + std::to_wstring(dwProcessId);
    }

    CtrlBreak();
    ~CtrlBreak();
    CtrlBreak(const CtrlBreak&) = delete;
    CtrlBreak& operator=(const CtrlBreak&) = delete;

    // Waits up to dwMilliseconds; true as soon as the user pressed Ctrl+C or
    // Ctrl+Break, or another program asked to stop (now or before).
    bool Wait(DWORD dwMilliseconds) const;

private:
    static BOOL WINAPI OnConsoleCtrl(DWORD dwCtrlType);
    // Manual reset: once pressed, stays pressed. Null if it could not be made.
    static HANDLE PressedEvent();
};
