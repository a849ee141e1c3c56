#pragma once
// What the owner-drawn menu needs to know about the platform's look: the
// platform family, whether the classic theme is active, colour blending and
// the menu font.

#include <windows.h>

class CFont;
class CWnd;

class CSkinMenuTheme
{
public:
    // Platform version codes.
    enum
    {
        OS_WIN32S = 0,
        OS_NT_OTHER = 1,   // every NT release not listed, including all after XP
        OS_WIN95 = 2,
        OS_WIN98 = 3,
        OS_WINME = 4,
        OS_NT4 = 5,
        OS_WIN2000 = 6,
        OS_WINXP = 7,
    };

    // The code of the running platform.
    static int GetOsVersionCode();
    // The code for a GetVersion value and the GetVersionExA record (null
    // when that query failed).
    static int VersionCodeFor(DWORD dwVersion, const OSVERSIONINFOA* pInfo);

    // Whether a platform draws 3-D frames in menus: all but Win32s. The codes
    // name families, not ages, so OS_NT_OTHER (every release after XP) ranks
    // below OS_WIN95 and must not be compared by order.
    static bool HasThreeDLook(int nCode) { return nCode != OS_WIN32S; }

    // TRUE when the current theme is the classic one. Probed once; later
    // theme changes are not noticed.
    static BOOL IsClassicTheme();
    // The probe itself, uncached: reads the current theme file name from the
    // user's registry.
    static BOOL ReadClassicTheme();

    // Moves each channel of cr the fraction dFactor (0 < dFactor <= 1) of
    // the way to 255; any other factor leaves cr as it is.
    static COLORREF LightenColor(double dFactor, COLORREF cr);

    // Creates the font the platform uses for menus.
    static void CreateMenuFont(CFont& font);
    // The window whose DC texts are measured on: the thread's main window,
    // null (the screen) when there is none.
    static CWnd* GetMeasuringWindow();
};
