#include "cli/CtrlBreak.h"

CtrlBreak::CtrlBreak()
{
    if (const HANDLE hPressed = PressedEvent())
        ResetEvent(hPressed);
    SetConsoleCtrlHandler(&CtrlBreak::OnConsoleCtrl, TRUE);
}

CtrlBreak::~CtrlBreak()
{
    SetConsoleCtrlHandler(&CtrlBreak::OnConsoleCtrl, FALSE);
}

bool CtrlBreak::Wait(DWORD dwMilliseconds) const
{
    const HANDLE hPressed = PressedEvent();
    if (hPressed == nullptr)
    {
        Sleep(dwMilliseconds);
        return false;
    }
    return WaitForSingleObject(hPressed, dwMilliseconds) == WAIT_OBJECT_0;
}

// Made once, on first use, and never closed: the handler runs on a thread of
// the system's, which may still be setting it while this object goes, so the
// handle must stay valid until the process ends (which closes it).
// Should another kind of object hold the name, only the request from another
// program is lost, not Ctrl+C.
HANDLE CtrlBreak::PressedEvent()
{
    static const HANDLE s_hPressed = [] {
        const HANDLE hNamed = CreateEventW(nullptr, TRUE, FALSE, StopEventName(GetCurrentProcessId()).c_str());
        return hNamed != nullptr ? hNamed : CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }();
    return s_hPressed;
}

// Runs on a thread of its own. A closing console or a logoff is left to the
// default handling: the system ends the process then anyway.
BOOL WINAPI CtrlBreak::OnConsoleCtrl(DWORD dwCtrlType)
{
    if (dwCtrlType != CTRL_C_EVENT && dwCtrlType != CTRL_BREAK_EVENT)
        return FALSE;
    if (const HANDLE hPressed = PressedEvent())
        SetEvent(hPressed);
    return TRUE;
}
