#pragma once
// One run of a private copy of Velkor.exe with the EC simulator, seen from
// outside as a user sees it: its windows, its buttons' pictures, and what it
// wrote to the EC. The end-to-end and soak tests start the program this way.
#include "tests/support/ChildProcess.h"
#include "tests/support/PixelImage.h"
#include "tests/support/PortLog.h"
#include "tests/support/TestInstall.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class VelkorSession
{
public:
    // strSubFolder: where below the temp folder the program is installed.
    explicit VelkorSession(const std::wstring& strSubFolder = L"");

    TestInstall& Install() { return m_install; }
    ChildProcess& Process() const { return *m_pProcess; }

    // Starts the program; the EC simulator's state and log are this session's.
    void Start(const ChildProcess::Environment& extraEnv = {}, const std::wstring& strArgs = L"");
    // Starts it with strArgs, the sign-in start, and waits until its main
    // window, hidden, has its tray icon; fails when the program ends first or
    // no icon comes.
    ::testing::AssertionResult StartInTray(const std::wstring& strArgs = L"/tray");
    // Starts it and waits for its main window; fails when a message box or
    // nothing comes instead.
    ::testing::AssertionResult StartShown(const ChildProcess::Environment& extraEnv = {});
    // Waits for the program's first window: its main window, or a message box
    // shown before it. Whichever it is becomes Main() or the only element of
    // MessageBoxes(); false when neither came.
    bool WaitForFirstWindow(unsigned nTimeoutMs = 20000);
    // Waits for the main window to show (after a message box was dismissed).
    bool WaitForMainWindow(unsigned nTimeoutMs = 20000);
    std::vector<HWND> MessageBoxes() const;

    HWND Main() const { return m_hMain; }
    HWND Control(int nId) const { return GetDlgItem(m_hMain, nId); }

    // A click on a button as the button itself turns it into BN_CLICKED (BM_CLICK),
    // sent, so it has been handled when this returns. The time it took, in ms, or
    // nothing when the program did not answer (it hangs or has ended).
    static std::optional<double> ClickButton(HWND hButton, unsigned nTimeoutMs = 10000);
    // A message sent to the program, handled when this returns: its answer, or
    // nothing when the program did not answer in time (a hang, or it has ended).
    static std::optional<LRESULT> Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Whether the program answers a message in time.
    static bool Responds(HWND hWnd) { return Send(hWnd, WM_NULL, 0, 0).has_value(); }

    // What the program holds: compared before and after long use, it shows a leak.
    struct Footprint
    {
        unsigned nGdiObjects;
        unsigned nWindows;
        size_t cbPrivate;
    };
    Footprint Holdings() const;
    static std::string Describe(const Footprint& footprint);

    // What the program did to the EC so far (an access still in progress is
    // left out).
    std::vector<EcOperation> EcOperations() const;
    std::vector<EcOperation> EcWrites() const;
    // Waits until at least nCount EC writes are logged in all, then a little
    // longer so that a surplus write would show too.
    bool WaitForEcWrites(size_t nCount, unsigned nTimeoutMs = 10000) const;
    // The EC RAM base the simulated chip leads the program to.
    std::uint16_t EcRamBase() const;
    // The mode bytes written, in order, from EC write nFirst on.
    std::vector<std::uint8_t> ModeBytesWritten(size_t nFirst = 0) const;

    // Path of a file in one of the installed skin folders.
    std::wstring SkinFile(const std::wstring& strName, const std::wstring& strSkin = L"skin_EN") const;

    // How well the control's face matches an icon file drawn centred on the
    // button face (0..1); the 2-pixel rim where a hover frame goes is left out.
    double IconMatch(int nId, const std::wstring& strIconFile) const;
    // Share of the control's face (rim left out) in the plain button-face
    // colour, once it reaches dMinimum or the time is up.
    double WaitForBlank(int nId, double dMinimum = 0.99, unsigned nTimeoutMs = 5000) const;
    // How well the main window's background, away from its visible controls,
    // matches a bitmap tiled from the client area's top-left corner, once it
    // reaches dMinimum or the time is up (a window found may not be painted yet).
    double WaitForBackground(const PixelImage& bitmap, double dMinimum = 0.99, unsigned nTimeoutMs = 5000) const;
    // Waits until IconMatch reaches dMinimum; the last match seen.
    double WaitForIcon(int nId, const std::wstring& strIconFile, double dMinimum = 0.98, unsigned nTimeoutMs = 5000)
        const;

private:
    PixelImage ControlFace(int nId) const;

    TestInstall m_install;
    std::unique_ptr<ChildProcess> m_pProcess;
    HWND m_hMain = nullptr;
};
