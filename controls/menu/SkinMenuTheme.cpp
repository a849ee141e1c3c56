#include "controls/menu/SkinMenuTheme.h"

#include "base/OwnedHandle.h"
#include "framework/Afx.h"
#include "framework/Font.h"
#include "framework/WinApp.h"

#include <cstddef>
#include <cstring>

namespace
{
    const char THEME_KEY[] = "Software\\Microsoft\\Plus!\\Themes\\Current";
    const char CLASSIC_THEME_FILE[] = "Windows Classic.theme";

    BOOL g_bClassicProbed = FALSE;
    BOOL g_bClassicTheme = FALSE;

    BYTE LightenChannel(double dFactor, int nChannel)
    {
        // Each step is rounded to double (the library is built for SSE
        // arithmetic), so results do not depend on x87 excess precision.
        const double dProduct = dFactor * (255 - nChannel);
        const double dSum = nChannel + dProduct;
        return static_cast<BYTE>(static_cast<int>(dSum));
    }
}

int CSkinMenuTheme::GetOsVersionCode()
{
    const DWORD dwVersion = ::GetVersion();
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)   // the real version is what is wanted here
#endif
    const BOOL bHaveInfo = ::GetVersionExA(&info);
    return VersionCodeFor(dwVersion, bHaveInfo ? &info : nullptr);
}

int CSkinMenuTheme::VersionCodeFor(DWORD dwVersion, const OSVERSIONINFOA* pInfo)
{
    const bool bWin9x = (dwVersion & 0x80000000u) != 0;
    if (bWin9x && LOBYTE(LOWORD(dwVersion)) < 4)
        return OS_WIN32S;
    if (pInfo == nullptr)
        return bWin9x ? OS_WIN95 : OS_NT_OTHER;

    const DWORD dwMajor = pInfo->dwMajorVersion;
    const DWORD dwMinor = pInfo->dwMinorVersion;
    if (bWin9x)
    {
        if (dwMajor == 4 && dwMinor == 10)
            return OS_WIN98;
        if (dwMajor == 4 && dwMinor == 90)
            return OS_WINME;
        return OS_WIN95;
    }
    if (dwMajor == 4)
        return OS_NT4;
    if (dwMajor == 5 && dwMinor == 0)
        return OS_WIN2000;
    if (dwMajor == 5 && dwMinor == 1)
        return OS_WINXP;
    return OS_NT_OTHER;
}

BOOL CSkinMenuTheme::IsClassicTheme()
{
    if (!g_bClassicProbed)
    {
        // Marked first, so that a failing probe is not repeated.
        g_bClassicProbed = TRUE;
        g_bClassicTheme = ReadClassicTheme();
    }
    return g_bClassicTheme;
}

BOOL CSkinMenuTheme::ReadClassicTheme()
{
    HKEY hOpened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, THEME_KEY, 0, KEY_READ, &hOpened) != ERROR_SUCCESS)
        return FALSE;
    const OwnedKey hKey(hOpened);

    // One byte more than the value may fill: a stored string need not carry
    // its terminator.
    char szValue[MAX_PATH + 1] = {};
    DWORD dwType = 0;
    DWORD cbValue = MAX_PATH;
    BOOL bClassic = FALSE;
    if (::RegQueryValueExA(hKey.Get(), nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue), &cbValue) ==
            ERROR_SUCCESS &&
        (dwType == REG_SZ || dwType == REG_EXPAND_SZ))
    {
        const size_t nLength = std::strlen(szValue);
        const size_t nFileLength = sizeof(CLASSIC_THEME_FILE) - 1;
        bClassic = nLength >= nFileLength && ::lstrcmpiA(szValue + nLength - nFileLength, CLASSIC_THEME_FILE) == 0;
    }
    return bClassic;
}

COLORREF CSkinMenuTheme::LightenColor(double dFactor, COLORREF cr)
{
    if (!(dFactor > 0.0 && dFactor <= 1.0))
        return cr;
    return RGB(
        LightenChannel(dFactor, GetRValue(cr)), LightenChannel(dFactor, GetGValue(cr)),
        LightenChannel(dFactor, GetBValue(cr))
    );
}

void CSkinMenuTheme::CreateMenuFont(CFont& font)
{
    // The structure as it was before Vista grew it: every platform accepts
    // that size.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    LOGFONTA logFont = {};
    logFont = metrics.lfMenuFont;
    font.CreateFontIndirect(&logFont);
}

CWnd* CSkinMenuTheme::GetMeasuringWindow()
{
    const CWinApp* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}
