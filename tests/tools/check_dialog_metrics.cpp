// Checks, before any test runs, that this system lays out Velkor's main window
// at the size its skin was drawn for. Dialog units become pixels through the
// dialog font's average character width; where Wine lacks the fonts it maps
// "MS Shell Dlg" to, it takes a wider one, the window outgrows its 1024-pixel
// background and the pixel checks of the tests fail in puzzling ways.
//
//   check_dialog_metrics PATH\Velkor.exe
//
// Prints the window's size and the font; exit status 1, with the reason, when
// the window does not fit the background.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "res/resource.h"

namespace
{
    constexpr int BACKGROUND_WIDTH = 1024;
    constexpr int BACKGROUND_HEIGHT = 769;
    constexpr int SKIN_CHAR_WIDTH = 6;   // 679 dialog units: 1019 pixels

    INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
    {
        return FALSE;
    }

    // The template, copied so that it can be made invisible.
    std::vector<BYTE> LoadTemplate(const wchar_t* pszExe)
    {
        HMODULE hExe = LoadLibraryExW(pszExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC hRes = hExe ? FindResourceW(hExe, MAKEINTRESOURCEW(IDD_MAIN), MAKEINTRESOURCEW(5)) : nullptr;
        if (!hRes)
            return {};
        const BYTE* pData = static_cast<const BYTE*>(LockResource(LoadResource(hExe, hRes)));
        std::vector<BYTE> data(pData, pData + SizeofResource(hExe, hRes));
        // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF; its style is at offset 12.
        const bool bExtended = data.size() > 4 && data[2] == 0xFF && data[3] == 0xFF;
        DWORD* pStyle = reinterpret_cast<DWORD*>(data.data() + (bExtended ? 12 : 0));
        *pStyle &= ~WS_VISIBLE;
        return data;
    }
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: check_dialog_metrics PATH\\Velkor.exe\n");
        return 2;
    }
    std::vector<BYTE> dialogTemplate = LoadTemplate(argv[1]);
    if (dialogTemplate.empty())
    {
        std::fprintf(stderr, "check_dialog_metrics: no main dialog template in %ls\n", argv[1]);
        return 2;
    }
    HWND hDlg = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr, QuietDialogProc, 0
    );
    if (!hDlg)
    {
        std::fprintf(stderr, "check_dialog_metrics: the main dialog cannot be created (error %lu)\n", GetLastError());
        return 2;
    }
    RECT rcClient = {};
    GetClientRect(hDlg, &rcClient);

    wchar_t szFace[LF_FACESIZE] = {};
    TEXTMETRICW tm = {};
    HDC hDC = GetDC(hDlg);
    HGDIOBJ hOld = SelectObject(hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(hDlg, WM_GETFONT, 0, 0)));
    GetTextFaceW(hDC, LF_FACESIZE, szFace);
    GetTextMetricsW(hDC, &tm);
    SelectObject(hDC, hOld);
    ReleaseDC(hDlg, hDC);
    DestroyWindow(hDlg);

    std::printf(
        "Main window: %ld x %ld pixels; dialog font \"MS Shell Dlg\" 8 pt drawn with \"%ls\"\n", rcClient.right,
        rcClient.bottom, szFace
    );
    if (rcClient.right <= BACKGROUND_WIDTH && rcClient.bottom <= BACKGROUND_HEIGHT)
        return 0;
    std::fprintf(
        stderr,
        "The main window would be %ld x %ld pixels, larger than its %d x %d background: Wine draws the\n"
        "dialog font with \"%ls\", %ld pixels per average character where the skin was laid out for %d.\n"
        "Wine lacks the fonts it maps the dialog font to: install fonts-liberation and fonts-wine\n"
        "(scripts/common.sh installs them on Debian).\n",
        rcClient.right, rcClient.bottom, BACKGROUND_WIDTH, BACKGROUND_HEIGHT, szFace, tm.tmAveCharWidth, SKIN_CHAR_WIDTH
    );
    return 1;
}
