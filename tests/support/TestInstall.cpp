#include "tests/support/TestInstall.h"

#include "tests/support/FileSystem.h"

TestInstall::TestInstall(const std::wstring& strProgram, const std::wstring& strSubFolder)
    : m_strProgram(strProgram),
      m_strFolder(strSubFolder.empty() ? m_temp.Path() : m_temp.File(strSubFolder))
{
    // A program of the benchmarks (the baseline) lies beside them, the product in bin/.
    const std::wstring strBin = FileSystem::ProductFolder();
    const std::wstring strOwn = FileSystem::ModuleFolder() + L"\\" + strProgram;
    FileSystem::CreateFolders(m_strFolder);
    FileSystem::Copy(FileSystem::Exists(strOwn) ? strOwn : strBin + L"\\" + strProgram, ExePath());
    for (const wchar_t* pszName : {L"io.dll", L"skin_EN", L"skin_CN"})
        FileSystem::Copy(strBin + L"\\" + pszName, m_strFolder + L"\\" + pszName);
}

std::wstring TestInstall::SkinFile(const std::wstring& strSkin, const std::wstring& strName) const
{
    return m_strFolder + L"\\" + strSkin + L"\\" + strName;
}

std::unique_ptr<ChildProcess> TestInstall::Start(const ChildProcess::Environment& extraEnv, const std::wstring& strArgs)
    const
{
    ChildProcess::Environment env = {{L"ECSIM_STATE", StatePath()}, {L"ECSIM_LOG", LogPath()}};
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return std::make_unique<ChildProcess>(ExePath(), strArgs, m_temp.Path(), env);
}
