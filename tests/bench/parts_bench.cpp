// What Velkor's start and a mode click are made of: each platform call they
// make beyond what the baseline program makes, timed (and for the start, the
// memory it keeps measured) alone on this system, so that velkor_bench's
// figures for the whole can be read call by call. Each part of the start runs
// in fresh processes of this program ("--part NAME"), which first show a
// window of the main window's size as the baseline does, so first-use costs
// count as they do at a real start. Medians; passes or fails nothing.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/SkinIconCache.h"
#include "ecsim/ProgramRun.h"
#include "framework/FileStamp.h"
#include "framework/IconFile.h"
#include "tests/bench/Stats.h"
#include "tests/support/FileSystem.h"
#include "tests/support/ProcessMeter.h"

namespace
{
    constexpr int ROUNDS = 31;
    constexpr int FRESH_RUNS = 15;
    constexpr RECT MAIN_CLIENT = {0, 0, 1019, 765};   // the main window, as Windows and Wine lay it out
    constexpr int APP_ICON_ID = 128;
    constexpr int START_PICTURES = 8;
    constexpr int SHOWN_BUTTONS = 7;   // of the eight with pictures, one is hidden

    double Now()
    {
        LARGE_INTEGER freq, now;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&now);
        return 1e6 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
    }

    double PrivateKiB()
    {
        return static_cast<double>(ProcessMeter::CommittedPrivate(GetCurrentProcess()).value_or(0)) / 1024.0;
    }

    std::wstring Product(const std::wstring& strName)
    {
        return FileSystem::ProductFolder() + L"\\" + strName;
    }

    std::wstring SkinFile(const wchar_t* pszName)
    {
        return Product(L"skin_EN\\") + pszName;
    }

    HWND ShowMainSizedWindow()
    {
        HWND hWnd = CreateWindowExW(
            WS_EX_APPWINDOW, L"STATIC", L"parts", WS_POPUP | WS_VISIBLE, 0, 0, MAIN_CLIENT.right, MAIN_CLIENT.bottom,
            nullptr, nullptr, nullptr, nullptr
        );
        UpdateWindow(hWnd);
        return hWnd;
    }

    // Paints owner-drawn buttons with a skin picture each, as the main window's
    // first paint does.
    LRESULT CALLBACK PictureButtonsProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        static SharedIcon picture = IconFile::Load(SkinFile(L"01_On_0.ico"));
        if (nMessage != WM_DRAWITEM)
            return DefWindowProcW(hWnd, nMessage, wParam, lParam);
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(item.hDC, 10, 8, picture.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
        return TRUE;
    }

    // Microseconds from showing a window with nButtons to its end of painting.
    double TimeFirstPaint(int nButtons)
    {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = PictureButtonsProc;
            wc.lpszClassName = L"PictureButtons";
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            return RegisterClassW(&wc);
        }();
        HWND hWnd = CreateWindowExW(
            0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(atom)), L"buttons", WS_POPUP, 0, 0, MAIN_CLIENT.right,
            MAIN_CLIENT.bottom, nullptr, nullptr, nullptr, nullptr
        );
        for (int i = 0; i < nButtons; ++i)
            CreateWindowExW(
                0, L"BUTTON", L"On", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10 + 120 * i, 600, 93, 88, hWnd, nullptr,
                nullptr, nullptr
            );
        const double dStart = Now();
        ShowWindow(hWnd, SW_SHOW);
        RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        const double dMicroseconds = Now() - dStart;
        DestroyWindow(hWnd);
        return dMicroseconds;
    }

    // One part of the start as Velkor does it, what it keeps left alive.
    // Returns the microseconds it took; the memory is measured around it.
    double RunPart(const std::string& strPart, HWND hWnd)
    {
        HDC hdc = GetDC(hWnd);
        double dStart = Now();
        double dMicroseconds = -1;
        if (strPart == "comctl32")
        {
            HMODULE hComctl = LoadLibraryW(L"comctl32.dll");
            using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
            const auto pfnInit =
                reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(hComctl, "InitCommonControlsEx")));
            const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
            if (pfnInit != nullptr && pfnInit(&icc))
                dMicroseconds = Now() - dStart;
        }
        else if (strPart == "shell32")
        {
            if (LoadLibraryW(L"shell32.dll") != nullptr)
                dMicroseconds = Now() - dStart;
        }
        else if (strPart == "buttons")
        {
            // Made before their dialog shows, as a template's are; the first
            // button, which the baseline has too, is not counted.
            HWND hDialog = CreateWindowExW(
                0, L"STATIC", L"dialog", WS_POPUP, 0, 0, MAIN_CLIENT.right, MAIN_CLIENT.bottom, nullptr, nullptr,
                nullptr, nullptr
            );
            for (int i = 0; i < 10; ++i)
            {
                if (i == 1)
                    dStart = Now();
                CreateWindowExW(
                    0, L"BUTTON", L"On", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 10 + 95 * i, 600, 93, 88,
                    hDialog, nullptr, nullptr, nullptr
                );
            }
            dMicroseconds = Now() - dStart;
        }
        else if (strPart == "window-icons")
        {
            HMODULE hVelkor = LoadLibraryExW(Product(L"Velkor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            dStart = Now();
            HICON hIcon = LoadIconW(hVelkor, MAKEINTRESOURCEW(APP_ICON_ID));
            SendMessageW(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
            SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
            if (hIcon != nullptr)
                dMicroseconds = Now() - dStart;
        }
        else if (strPart == "background")
        {
            // Made, then painted once beyond what a plain colour costs.
            HBITMAP hBitmap = static_cast<HBITMAP>(LoadImageW(
                nullptr, SkinFile(L"0_BG.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION
            ));
            HBRUSH hbrPattern = CreatePatternBrush(hBitmap);
            DeleteObject(hBitmap);
            FillRect(hdc, &MAIN_CLIENT, hbrPattern);
            GdiFlush();
            const double dPatterned = Now() - dStart;
            dStart = Now();
            FillRect(hdc, &MAIN_CLIENT, GetSysColorBrush(COLOR_BTNFACE));
            GdiFlush();
            if (hbrPattern != nullptr)
                dMicroseconds = dPatterned - (Now() - dStart);
        }
        else if (strPart == "pictures" || strPart == "pictures-loadimage")
        {
            static std::vector<SharedIcon> pictures;   // kept, as the buttons keep theirs
            for (int i = 0; i < START_PICTURES; ++i)
                pictures.push_back(
                    strPart == "pictures"
                        ? IconFile::Load(SkinFile(L"01_On_0.ico"))
                        : SharedIcon::Adopt(static_cast<HICON>(
                              LoadImageW(nullptr, SkinFile(L"01_On_0.ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)
                          ))
                );
            if (pictures.back())
                dMicroseconds = Now() - dStart;
        }
        else if (strPart == "paint")
        {
            // A window with the shown buttons painted whole, against one with
            // the baseline's single button.
            TimeFirstPaint(1);   // the first owner-drawn paint of a process, which the baseline makes too
            const double dOne = TimeFirstPaint(1);
            dMicroseconds = TimeFirstPaint(SHOWN_BUTTONS) - dOne;
        }
        ReleaseDC(hWnd, hdc);
        return dMicroseconds;
    }

    int RunPartAndReport(const std::string& strPart)
    {
        HWND hWnd = ShowMainSizedWindow();
        const double dBefore = PrivateKiB();
        const double dMicroseconds = RunPart(strPart, hWnd);
        if (dMicroseconds < 0)
            return 1;
        std::printf("%.1f %.0f\n", dMicroseconds, PrivateKiB() - dBefore);
        return 0;
    }

    struct PartFigures
    {
        double dMs = -1;
        double dKiB = -1;
    };

    PartFigures MedianOfFreshRuns(const char* argv0, const char* pszPart)
    {
        std::vector<double> ms, kib;
        for (int i = 0; i < FRESH_RUNS; ++i)
        {
            ProgramRun run(argv0);
            run.Arg("--part").Arg(pszPart).SeparateErrors();
            double dMicroseconds = 0, dKiB = 0;
            if (run.Run() != 0 || std::sscanf(run.Output().c_str(), "%lf %lf", &dMicroseconds, &dKiB) != 2)
                return {};
            ms.push_back(dMicroseconds / 1000.0);
            kib.push_back(dKiB);
        }
        return {Stats::Median(ms), Stats::Median(kib)};
    }

    void PrintStartParts(
        const char* pszTitle, const char* argv0, const std::vector<std::pair<const char*, const char*>>& parts
    )
    {
        std::printf("\n%s\n  %-64s %9s %9s\n", pszTitle, "part", "ms", "KiB kept");
        double dMs = 0, dKiB = 0;
        for (const auto& [pszPart, pszName] : parts)
        {
            const PartFigures figures = MedianOfFreshRuns(argv0, pszPart);
            dMs += figures.dMs;
            dKiB += figures.dKiB;
            std::printf("  %-64s %9.2f %9.0f\n", pszName, figures.dMs, figures.dKiB);
            std::fflush(stdout);
        }
        std::printf("  %-64s %9.2f %9.0f\n", "sum", dMs, dKiB);
    }

    // Median microseconds of one call of measured().
    double MedianMicroseconds(const std::function<void()>& measured)
    {
        std::vector<double> samples;
        for (int i = 0; i < ROUNDS; ++i)
        {
            const double dStart = Now();
            measured();
            samples.push_back(Now() - dStart);
        }
        return Stats::Median(samples);
    }

    void PrintClickParts(const char* pszTitle, const std::vector<std::pair<const char*, double>>& parts)
    {
        std::printf("\n%s\n  %-64s %9s\n", pszTitle, "part", "ms");
        double dMs = 0;
        for (const auto& [pszName, dPartMs] : parts)
        {
            dMs += dPartMs;
            std::printf("  %-64s %9.3f\n", pszName, dPartMs);
        }
        std::printf("  %-64s %9.3f\n", "sum", dMs);
        std::fflush(stdout);
    }
}   // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--part") == 0)
        return RunPartAndReport(argv[2]);

    PrintStartParts(
        "Start-up: what Velkor does beyond the baseline (whose window, dialog and io.dll it has too)", argv[0],
        {
            {"comctl32", "comctl32.dll loaded, InitCommonControlsEx"},
            {"buttons", "the nine buttons beyond the baseline's one"},
            {"window-icons", "the window icon: LoadIcon, WM_SETICON big and small"},
            {"background", "background: 1024 x 769 brush made, painted beyond a plain colour"},
            {"pictures", "8 button pictures, 72 x 72: IconFile::Load"},
            {"paint", "the first paint of 7 picture buttons, beyond one"},
        }
    );
    PrintStartParts(
        "Start-up before: the same pictures by LoadImageW, and shell32 loaded at start", argv[0],
        {
            {"pictures-loadimage", "8 button pictures, 72 x 72: LoadImageW, size by GetIconInfo"},
            {"shell32", "shell32.dll loaded (now at the first tray icon or link)"},
        }
    );

    // A click: six pictures looked at, two of them shown anew.
    const std::wstring strPicture = SkinFile(L"03_Breath_1.ico");
    HWND hWnd = ShowMainSizedWindow();
    SkinIconCache cache;
    cache.SetFolder(Product(L"skin_EN"));
    cache.Icon(L"03_Breath_1.ico");
    const double dStamp = MedianMicroseconds([&] { FileStamp::Of(strPicture); });
    const double dLookup = MedianMicroseconds([&] { cache.Icon(L"03_Breath_1.ico"); });
    const double dInvalidate = MedianMicroseconds([&] { InvalidateRect(hWnd, nullptr, TRUE); });
    PrintClickParts(
        "A mode click, beyond the baseline's two EC writes (ec_bench: the port mutex around each)",
        {
            {"6 pictures looked up, files unchanged (SkinIconCache)", 6 * dLookup / 1000},
            {"2 button repaints asked for (InvalidateRect)", 2 * dInvalidate / 1000},
        }
    );
    std::printf("  (of a lookup's %.1f us, the file stamp, FileStamp::Of, takes %.1f us)\n", dLookup, dStamp);
    DestroyWindow(hWnd);
    return 0;
}
