#include "tests/support/VelkorSession.h"

#include "tests/support/EcState.h"
#include "tests/support/GdiCount.h"
#include "tests/support/ProcessMeter.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"
#include "notify/TrayMessages.h"

#include <cstdint>

namespace
{
    constexpr int FACE_RIM = 2;

    RECT ClientRectOf(HWND hChild, HWND hParent)
    {
        RECT rc = WindowQuery::ScreenRect(hChild);
        MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
}

VelkorSession::VelkorSession(const std::wstring& strSubFolder)
    : m_install(L"Velkor.exe", strSubFolder)
{}

void VelkorSession::Start(const ChildProcess::Environment& extraEnv, const std::wstring& strArgs)
{
    m_pProcess = m_install.Start(extraEnv, strArgs);
}

::testing::AssertionResult VelkorSession::StartInTray(const std::wstring& strArgs)
{
    Start({}, strArgs);
    const auto findMainInTray = [this] {
        for (HWND hWnd : WindowQuery::TopLevelWindows(Process().Pid(), true))
            if (WindowQuery::ClassName(hWnd) == L"#32770" && GetWindow(hWnd, GW_OWNER) == nullptr &&
                WindowQuery::TrayIconExists(hWnd, TRAY_ICON_ID))
                m_hMain = hWnd;
        return m_hMain != nullptr || !Process().IsRunning();
    };
    if (!WaitUntil(findMainInTray, 20000) || m_hMain == nullptr)
        return ::testing::AssertionFailure() << "no tray icon came, or the program ended";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult VelkorSession::StartShown(const ChildProcess::Environment& extraEnv)
{
    Start(extraEnv);
    if (!WaitForFirstWindow())
        return ::testing::AssertionFailure() << "no window came, or the program ended";
    if (m_hMain == nullptr)
        return ::testing::AssertionFailure() << "a message box came before the main window";
    return ::testing::AssertionSuccess();
}

bool VelkorSession::WaitForFirstWindow(unsigned nTimeoutMs)
{
    return WaitUntil(
               [this] {
                   m_hMain = WindowQuery::MainWindow(Process().Pid());
                   return m_hMain != nullptr || !MessageBoxes().empty() || !Process().IsRunning();
               },
               nTimeoutMs
           ) &&
           Process().IsRunning();
}

bool VelkorSession::WaitForMainWindow(unsigned nTimeoutMs)
{
    return WaitUntil(
               [this] {
                   m_hMain = WindowQuery::MainWindow(Process().Pid());
                   return m_hMain != nullptr || !Process().IsRunning();
               },
               nTimeoutMs
           ) &&
           m_hMain != nullptr;
}

std::vector<HWND> VelkorSession::MessageBoxes() const
{
    return WindowQuery::MessageBoxes(Process().Pid());
}

std::vector<EcOperation> VelkorSession::EcOperations() const
{
    return PortLog::Load(m_install.LogPath()).EcOperations(true);
}

std::vector<EcOperation> VelkorSession::EcWrites() const
{
    std::vector<EcOperation> writes;
    for (const EcOperation& op : EcOperations())
        if (op.kind == EcOperation::Write)
            writes.push_back(op);
    return writes;
}

bool VelkorSession::WaitForEcWrites(size_t nCount, unsigned nTimeoutMs) const
{
    bool bReached = WaitUntil([&] { return EcWrites().size() >= nCount; }, nTimeoutMs);
    Pause(200);
    return bReached;
}

std::uint16_t VelkorSession::EcRamBase() const
{
    EcState state = EcState::Load(m_install.StatePath());
    bool bIt557x = state.At(0x2000) == 0x55 && (state.At(0x2001) == 0x70 || state.At(0x2001) == 0x71);
    return bIt557x ? 0xC400 : 0x0400;
}

std::optional<double> VelkorSession::ClickButton(HWND hButton, unsigned nTimeoutMs)
{
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    DWORD_PTR dwResult = 0;
    if (!hButton || !SendMessageTimeoutW(hButton, BM_CLICK, 0, 0, SMTO_NORMAL, nTimeoutMs, &dwResult))
        return std::nullopt;
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}

std::optional<LRESULT> VelkorSession::Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR dwResult = 0;
    if (!hWnd || !SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_NORMAL, 10000, &dwResult))
        return std::nullopt;
    return static_cast<LRESULT>(dwResult);
}

VelkorSession::Footprint VelkorSession::Holdings() const
{
    const auto memory = ProcessMeter::Memory(m_pProcess->Handle());
    return {
        GdiCount::Of(m_pProcess->Handle()).value_or(0), ProcessMeter::Windows(m_pProcess->Pid()),
        memory ? memory->cbPrivate : 0};
}

std::string VelkorSession::Describe(const Footprint& footprint)
{
    return std::to_string(footprint.nGdiObjects) + " GDI objects, " + std::to_string(footprint.nWindows) +
           " windows, " + std::to_string(footprint.cbPrivate / 1024) + " KiB committed private";
}

std::vector<std::uint8_t> VelkorSession::ModeBytesWritten(size_t nFirst) const
{
    const std::uint16_t wModeAddress = static_cast<std::uint16_t>(EcRamBase() + 0xF6);
    const std::vector<EcOperation> writes = EcWrites();
    std::vector<std::uint8_t> modes;
    for (size_t i = nFirst; i < writes.size(); ++i)
        if (writes[i].wAddress == wModeAddress)
            modes.push_back(writes[i].byValue);
    return modes;
}

std::wstring VelkorSession::SkinFile(const std::wstring& strName, const std::wstring& strSkin) const
{
    return m_install.SkinFile(strSkin, strName);
}

// Grabbed from the main window's DC: a control's own DC gives nothing useful
// across processes under Wine.
PixelImage VelkorSession::ControlFace(int nId) const
{
    RECT rc = ClientRectOf(Control(nId), m_hMain);
    InflateRect(&rc, -FACE_RIM, -FACE_RIM);
    return PixelImage::GrabClient(m_hMain).Crop(rc);
}

double VelkorSession::IconMatch(int nId, const std::wstring& strIconFile) const
{
    RECT rc = {};
    GetClientRect(Control(nId), &rc);
    PixelImage expected = PixelImage::IconOnFace(strIconFile, rc.right, rc.bottom, GetSysColor(COLOR_BTNFACE));
    expected = expected.Crop({FACE_RIM, FACE_RIM, rc.right - FACE_RIM, rc.bottom - FACE_RIM});
    return ControlFace(nId).Match(expected);
}

double VelkorSession::WaitForBlank(int nId, double dMinimum, unsigned nTimeoutMs) const
{
    double dShare = 0;
    WaitUntil([&] { return (dShare = ControlFace(nId).Share(GetSysColor(COLOR_BTNFACE))) >= dMinimum; }, nTimeoutMs);
    return dShare;
}

double VelkorSession::WaitForBackground(const PixelImage& bitmap, double dMinimum, unsigned nTimeoutMs) const
{
    double dMatch = 0;
    WaitUntil(
        [&] {
            PixelImage client = PixelImage::GrabClient(m_hMain);
            std::vector<RECT> controls;
            for (HWND hChild : WindowQuery::Children(m_hMain))
                if (IsWindowVisible(hChild))
                    controls.push_back(ClientRectOf(hChild, m_hMain));
            return (dMatch = client.Match(bitmap.Tile(client.Width(), client.Height()), 8, controls)) >= dMinimum;
        },
        nTimeoutMs
    );
    return dMatch;
}

double VelkorSession::WaitForIcon(int nId, const std::wstring& strIconFile, double dMinimum, unsigned nTimeoutMs) const
{
    double dMatch = 0;
    WaitUntil([&] { return (dMatch = IconMatch(nId, strIconFile)) >= dMinimum; }, nTimeoutMs);
    return dMatch;
}
