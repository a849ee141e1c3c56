#include "ecsim/SimHarness.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ecsim/EcLayout.h"
#include "ecsim/SimHandle.h"

namespace
{

    void RemoveTree(const std::string& strFolder)
    {
        WIN32_FIND_DATAA data;
        const SimSearch hFind(FindFirstFileA((strFolder + "\\*").c_str(), &data));
        if (hFind)
        {
            do
            {
                const std::string strName = data.cFileName;
                if (strName == "." || strName == "..")
                    continue;
                const std::string strPath = strFolder + "\\" + strName;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(strPath);
                else
                    DeleteFileA(strPath.c_str());
            } while (FindNextFileA(hFind.Get(), &data));
        }
        RemoveDirectoryA(strFolder.c_str());
    }

}   // namespace

SimHarness::SimHarness(BYTE byChipId1, BYTE byChipId2)
{
    static LONG s_nCounter = 0;
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    m_strFolder = std::string(szTemp) + "ecsim-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(InterlockedIncrement(&s_nCounter));
    RemoveTree(m_strFolder);   // left over from an earlier process of the same id
    CreateDirectoryA(m_strFolder.c_str(), nullptr);
    m_strStatePath = PathOf("ecsim-state.bin");
    m_strLogPath = PathOf("ports.log");
    const BYTE byChipId[2] = {byChipId1, byChipId2};
    std::string strError;
    if (!m_state.Open(m_strStatePath, byChipId, strError))
        throw std::runtime_error("SimHarness: " + strError);
}

SimHarness::~SimHarness()
{
    // Best effort: a loaded io.dll keeps its state file and log open.
    RemoveTree(m_strFolder);
}

void SimHarness::ExportEnvironment() const
{
    SetEnvironmentVariableA("ECSIM_STATE", m_strStatePath.c_str());
    SetEnvironmentVariableA("ECSIM_LOG", m_strLogPath.c_str());
    SetEnvironmentVariableA("ECSIM_CHIP", nullptr);
    SetEnvironmentVariableA("ECSIM_DRIVER", nullptr);
}

void SimHarness::SetChipId(BYTE byChipId1, BYTE byChipId2)
{
    Ec()[EcLayout::CHIP_ID_ADDRESS] = byChipId1;
    Ec()[EcLayout::CHIP_ID_ADDRESS + 1] = byChipId2;
}

std::vector<std::string> SimHarness::NewLogLines()
{
    std::ifstream file(m_strLogPath, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(m_nLogRead));
    std::vector<std::string> lines;
    std::string strLine;
    while (std::getline(file, strLine))
    {
        m_nLogRead += strLine.size() + 1;
        lines.push_back(strLine);
    }
    return lines;
}

std::string SimHarness::ProgramFolder()
{
    char szPath[MAX_PATH];
    const DWORD dwLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string strPath(szPath, dwLength);
    return strPath.substr(0, strPath.find_last_of('\\'));
}

std::string SimHarness::LibraryPath()
{
    const std::string strBeside = ProgramFolder() + "\\io.dll";
    if (GetFileAttributesA(strBeside.c_str()) != INVALID_FILE_ATTRIBUTES)
        return strBeside;
    return ProgramFolder() + "\\..\\..\\bin\\io.dll";
}

FARPROC SimHarness::IoProcAddress(const char* pszName)
{
    static const SimModule s_library(LoadLibraryA(LibraryPath().c_str()));
    return GetProcAddress(s_library.Get(), pszName);
}

std::string SimHarness::ToolPath(const std::string& strName)
{
    return ProgramFolder() + "\\..\\tests\\tools\\" + strName;
}
