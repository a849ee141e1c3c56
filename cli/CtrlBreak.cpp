#include "cli/CtrlBreak.h"

HANDLE CtrlBreak::s_hPressed = nullptr;

CtrlBreak::CtrlBreak()
{
    s_hPressed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(&CtrlBreak::OnConsoleCtrl, TRUE);
}

CtrlBreak::~CtrlBreak()
{
    SetConsoleCtrlHandler(&CtrlBreak::OnConsoleCtrl, FALSE);
    if (s_hPressed != nullptr)
        CloseHandle(s_hPressed);
    s_hPressed = nullptr;
}

bool CtrlBreak::Wait(DWORD dwMilliseconds) const
{
    if (s_hPressed == nullptr)
    {
        Sleep(dwMilliseconds);
        return false;
    }
    return WaitForSingleObject(s_hPressed, dwMilliseconds) == WAIT_OBJECT_0;
}

// Runs on a thread of its own. A closing console or a logoff is left to the
// default handling: the system ends the process then anyway.
BOOL WINAPI CtrlBreak::OnConsoleCtrl(DWORD dwCtrlType)
{
    if (dwCtrlType != CTRL_C_EVENT && dwCtrlType != CTRL_BREAK_EVENT)
        return FALSE;
    if (s_hPressed != nullptr)
        SetEvent(s_hPressed);
    return TRUE;
}
