// Test helper: another program on the Super I/O ports, as a hardware monitor
// would be. It takes the ports' mutex, signals READY and then either
//   bus_holder READY GO DELAY_MS   waits for GO, sleeps DELAY_MS, reads the
//                                  EC byte at 0x2000 (the chip id) the way
//                                  Velkor does, releases and ends;
//   bus_holder READY abandon       ends still holding the mutex.
// It uses the simulated EC its ECSIM_* variables name.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "ecsim/SimHarness.h"

// A test that fails before it says GO must not leave the ports taken for long.
constexpr DWORD HOLD_LIMIT_MS = 60000;

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return 2;
    auto pfnOut32 = SimHarness::IoExport<void(__stdcall*)(short, short)>("Out32");
    auto pfnInp32 = SimHarness::IoExport<short(__stdcall*)(short)>("Inp32");
    HANDLE hMutex = CreateMutexA(nullptr, FALSE, "Global\\Access_ISABUS.HTP.Method");
    HANDLE hReady = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (!pfnOut32 || !pfnInp32 || !hMutex || !hReady)
        return 2;
    WaitForSingleObject(hMutex, INFINITE);
    SetEvent(hReady);
    if (std::strcmp(argv[2], "abandon") == 0)
        ExitProcess(0);

    HANDLE hGo = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    if (!hGo || argc != 4)
        return 2;
    WaitForSingleObject(hGo, HOLD_LIMIT_MS);
    Sleep(static_cast<DWORD>(std::atoi(argv[3])));
    // Address high byte, low byte, then the data register.
    const short steps[][2] = {{0x2E, 0x11}, {0x2F, 0x20}, {0x2E, 0x10}, {0x2F, 0x00}, {0x2E, 0x12}};
    for (const auto& step : steps)
    {
        pfnOut32(0x4E, step[0]);
        pfnOut32(0x4F, step[1]);
    }
    pfnOut32(0x4E, 0x2F);
    pfnInp32(0x4F);
    ReleaseMutex(hMutex);
    return 0;
}
