#include "tests/support/Wait.h"

#include <windows.h>

bool WaitUntil(const std::function<bool()>& condition, unsigned nTimeoutMs)
{
    ULONGLONG ullEnd = GetTickCount64() + nTimeoutMs;
    for (;;)
    {
        if (condition())
            return true;
        if (GetTickCount64() >= ullEnd)
            return false;
        Sleep(20);
    }
}

void Pause(unsigned nMs)
{
    Sleep(nMs);
}
