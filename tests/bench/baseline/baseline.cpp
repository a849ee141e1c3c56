// The lightest program that does Velkor's job without a skin: the same dialog
// size, one owner-drawn button whose click writes the two EC bytes of a mode
// change through io.dll, and a 500 ms timer that reads the power-level byte.
// The benchmarks run it beside Velkor and give every figure as a ratio to it.
#include <windows.h>

namespace
{
    const int IDD_BASELINE = 100;
    const int IDC_MODE = 1000;
    const UINT_PTR POLL_TIMER = 1;

    using Out32Fn = void(__stdcall*)(short, short);
    using Inp32Fn = short(__stdcall*)(short);
    using DriverOpenFn = BOOL(__stdcall*)();

    Out32Fn g_pfnOut32 = nullptr;
    Inp32Fn g_pfnInp32 = nullptr;
    WORD g_wRamBase = 0x0400;
    BYTE g_byMode = 0;

    // Selects the EC's indirect address and data registers through the Super I/O
    // index/data pair, high address byte first.
    void SelectEcAddress(WORD wAddr)
    {
        const short regs[][2] = {{0x11, static_cast<short>(wAddr >> 8)}, {0x10, static_cast<short>(wAddr & 0xFF)}};
        for (const auto& reg : regs)
        {
            g_pfnOut32(0x4E, 0x2E);
            g_pfnOut32(0x4F, reg[0]);
            g_pfnOut32(0x4E, 0x2F);
            g_pfnOut32(0x4F, reg[1]);
        }
        g_pfnOut32(0x4E, 0x2E);
        g_pfnOut32(0x4F, 0x12);
        g_pfnOut32(0x4E, 0x2F);
    }

    BYTE ReadEc(WORD wAddr)
    {
        SelectEcAddress(wAddr);
        return static_cast<BYTE>(g_pfnInp32(0x4F) & 0xFF);
    }

    void WriteEc(WORD wAddr, BYTE byValue)
    {
        SelectEcAddress(wAddr);
        g_pfnOut32(0x4F, byValue);
    }

    bool BindIoDll()
    {
        HMODULE hIo = LoadLibraryA("io.dll");
        if (!hIo)
            return false;
        g_pfnOut32 = reinterpret_cast<Out32Fn>(reinterpret_cast<void*>(GetProcAddress(hIo, "Out32")));
        g_pfnInp32 = reinterpret_cast<Inp32Fn>(reinterpret_cast<void*>(GetProcAddress(hIo, "Inp32")));
        auto pfnOpen =
            reinterpret_cast<DriverOpenFn>(reinterpret_cast<void*>(GetProcAddress(hIo, "IsInpOutDriverOpen")));
        if (!g_pfnOut32 || !g_pfnInp32 || !pfnOpen || !pfnOpen())
            return false;
        const BYTE id1 = ReadEc(0x2000), id2 = ReadEc(0x2001);
        g_wRamBase = (id1 == 0x55 && (id2 == 0x70 || id2 == 0x71)) ? 0xC400 : 0x0400;
        return true;
    }

    void DrawButton(const DRAWITEMSTRUCT& dis)
    {
        FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        RECT rc = dis.rcItem;
        DrawEdge(dis.hDC, &rc, (dis.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }

    INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        switch (uMsg)
        {
        case WM_INITDIALOG: SetTimer(hDlg, POLL_TIMER, 500, nullptr); return TRUE;
        case WM_TIMER:
            if (wParam == POLL_TIMER)
                ReadEc(static_cast<WORD>(g_wRamBase + 0x30));
            return TRUE;
        case WM_DRAWITEM: DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_MODE && HIWORD(wParam) == BN_CLICKED)
            {
                // The mode buttons' two writes, with a repaint between them.
                WriteEc(static_cast<WORD>(g_wRamBase + 0xBD), 0);
                InvalidateRect(reinterpret_cast<HWND>(lParam), nullptr, TRUE);
                g_byMode = static_cast<BYTE>((g_byMode + 1) % 5);
                WriteEc(static_cast<WORD>(g_wRamBase + 0xF6), g_byMode);
            }
            else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                EndDialog(hDlg, 0);
            return TRUE;
        default: return FALSE;
        }
    }
}   // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    if (!BindIoDll())
        return 0;
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_BASELINE), nullptr, DialogProc, 0);
    return 0;
}
