#pragma once
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <memory>
#include <string>

// A private copy of the program beside the simulator's io.dll and both skin
// folders, in a temp folder of its own, with its own EC state file and port log.
// A test may change the copy (remove or replace skin files) without touching the
// build, and may put it deep down a long path.
class TestInstall
{
public:
    // Copies the named program (and io.dll, skin_EN, skin_CN) from the build's
    // bin folder into the temp folder, or into strSubFolder below it.
    explicit TestInstall(const std::wstring& strProgram = L"Velkor.exe", const std::wstring& strSubFolder = L"");

    const std::wstring& Folder() const { return m_strFolder; }
    std::wstring ExePath() const { return m_strFolder + L"\\" + m_strProgram; }
    std::wstring SkinFile(const std::wstring& strSkin, const std::wstring& strName) const;
    // State file and log lie in the temp folder's root, away from the program.
    std::wstring StatePath() const { return m_temp.File(L"ec-state.bin"); }
    std::wstring LogPath() const { return m_temp.File(L"ports.log"); }
    const std::wstring& Root() const { return m_temp.Path(); }

    // Starts the copy with ECSIM_STATE and ECSIM_LOG pointing at this install's
    // files, plus the extra variables; the working folder is the temp root, not
    // the program's folder, as when a user starts it from elsewhere.
    std::unique_ptr<ChildProcess> Start(
        const ChildProcess::Environment& extraEnv = {}, const std::wstring& strArgs = L""
    ) const;

private:
    TempFolder m_temp;
    std::wstring m_strProgram;
    std::wstring m_strFolder;
};
