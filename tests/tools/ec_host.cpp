// Test helper: starts like the program does (an EcAccess before any window),
// then creates a window and ends with EXIT_CONSTRUCTED. An exit status of 0
// thus means the EcAccess ended the process before any window existed.
#include <windows.h>

#include "ec/EcAccess.h"

constexpr UINT EXIT_CONSTRUCTED = 3;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    EcAccess ec;
    HWND hWnd = CreateWindowExA(0, "STATIC", "ec_host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (hWnd != nullptr)
        DestroyWindow(hWnd);
    ExitProcess(hWnd != nullptr ? EXIT_CONSTRUCTED : 1);
}
