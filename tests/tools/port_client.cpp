// Test helper: a process of its own that loads io.dll from its folder and
// writes COUNT values to port 0x80, to test several processes sharing a log.
// Ends with 0, or with DRIVER_CLOSED when IsInpOutDriverOpen answers FALSE.
#include <windows.h>

#include <cstdlib>

#include "ecsim/SimHarness.h"

constexpr int DRIVER_CLOSED = 3;

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    auto pfnOut32 = SimHarness::IoExport<void(__stdcall*)(short, short)>("Out32");
    auto pfnIsInpOutDriverOpen = SimHarness::IoExport<BOOL(__stdcall*)()>("IsInpOutDriverOpen");
    if (pfnOut32 == nullptr || pfnIsInpOutDriverOpen == nullptr)
        return 2;
    const int nCount = std::atoi(argv[1]);
    for (int i = 0; i < nCount; ++i)
        pfnOut32(0x80, static_cast<short>(i & 0xFF));
    return pfnIsInpOutDriverOpen() ? 0 : DRIVER_CLOSED;
}
