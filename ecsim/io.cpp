// The exports of the simulated port-I/O library, named and called as the real
// one's are (stdcall, undecorated through io.def).
#include <windows.h>

#include "ecsim/Simulator.h"

extern "C"
{

    void __stdcall Out32(short nPort, short nValue)
    {
        Simulator::Instance().Out32(static_cast<WORD>(nPort), static_cast<WORD>(nValue));
    }

    short __stdcall Inp32(short nPort)
    {
        return static_cast<short>(Simulator::Instance().Inp32(static_cast<WORD>(nPort)));
    }

    BOOL __stdcall IsInpOutDriverOpen(void)
    {
        return Simulator::Instance().IsDriverOpen() ? TRUE : FALSE;
    }

    BOOL __stdcall IsXP64Bit(void)
    {
        return FALSE;   // the simulator is a 32-bit library on a 32-bit system
    }

    // Test-only: see README.md.
    void __stdcall EcSimSetInp32HighBits(short nBits)
    {
        Simulator::Instance().SetInp32HighBits(static_cast<WORD>(nBits));
    }

}   // extern "C"
