#include "app/SingleInstance.h"

namespace
{
    // "Local\": one per logon session, whichever folder the program runs from.
    constexpr wchar_t MUTEX_NAME[] = L"Local\\Velkor.SingleInstance";
    constexpr DWORD WINDOW_WAIT_MS = 10000;
    constexpr DWORD WINDOW_POLL_MS = 50;
}

SingleInstance::SingleInstance()
    : m_hMutex(::CreateMutexW(nullptr, FALSE, MUTEX_NAME)),
      m_bFirst(!m_hMutex || ::GetLastError() != ERROR_ALREADY_EXISTS)
{}

UINT SingleInstance::ActivateMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageW(L"Velkor.ShowMainWindow");
    return nMessage;
}

void SingleInstance::ActivateRunning(const char* pszWindowText)
{
    for (DWORD dwWaited = 0; dwWaited < WINDOW_WAIT_MS; dwWaited += WINDOW_POLL_MS)
    {
        if (HWND hMain = ::FindWindowA("#32770", pszWindowText))
        {
            // This start is what the user just did: it may hand the foreground on.
            ::AllowSetForegroundWindow(ASFW_ANY);
            ::PostMessageW(hMain, ActivateMessage(), 0, 0);
            return;
        }
        ::Sleep(WINDOW_POLL_MS);
    }
}
