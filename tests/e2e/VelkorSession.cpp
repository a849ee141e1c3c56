#include "tests/e2e/VelkorSession.h"

#include "tests/support/EcState.h"
#include "tests/support/FileSystem.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

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

VelkorSession::VelkorSession(const std::wstring& strSubFolder) : m_install(L"Velkor.exe", strSubFolder)
{
}

void VelkorSession::Start(const ChildProcess::Environment& extraEnv)
{
    m_pProcess = m_install.Start(extraEnv);
}

bool VelkorSession::WaitForFirstWindow(unsigned nTimeoutMs)
{
    return WaitUntil([this] {
        m_hMain = WindowQuery::MainWindow(m_pProcess->Pid());
        return m_hMain != nullptr || !MessageBoxes().empty() || !m_pProcess->IsRunning();
    }, nTimeoutMs) && m_pProcess->IsRunning();
}

bool VelkorSession::WaitForMainWindow(unsigned nTimeoutMs)
{
    return WaitUntil([this] {
        m_hMain = WindowQuery::MainWindow(m_pProcess->Pid());
        return m_hMain != nullptr || !m_pProcess->IsRunning();
    }, nTimeoutMs) && m_hMain != nullptr;
}

std::vector<HWND> VelkorSession::MessageBoxes() const
{
    return WindowQuery::MessageBoxes(m_pProcess->Pid());
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

double VelkorSession::BackgroundMatch(const PixelImage& bitmap) const
{
    PixelImage client = PixelImage::GrabClient(m_hMain);
    std::vector<RECT> controls;
    for (HWND hChild : WindowQuery::Children(m_hMain))
        if (IsWindowVisible(hChild))
            controls.push_back(ClientRectOf(hChild, m_hMain));
    return client.Match(bitmap.Tile(client.Width(), client.Height()), 8, controls);
}

double VelkorSession::WaitForIcon(int nId, const std::wstring& strIconFile, double dMinimum, unsigned nTimeoutMs) const
{
    double dMatch = 0;
    WaitUntil([&] { return (dMatch = IconMatch(nId, strIconFile)) >= dMinimum; }, nTimeoutMs);
    return dMatch;
}

void VelkorSession::SaveScreenshot(const std::wstring& strName) const
{
    if (m_hMain)
        PixelImage::GrabClient(m_hMain).SaveBmp(FileSystem::ModuleFolder() + L"\\" + strName + L".bmp");
}
