#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ecsim/EcStateFile.h"

// Test kit: a simulated EC of the test's own, in a new temporary folder: the
// state file (created at once with the chip id given) and the port log.
// ExportEnvironment() names them in this process's ECSIM_* variables, which
// io.dll reads when it is first called here and which child processes inherit.
class SimHarness
{
public:
    explicit SimHarness(BYTE byChipId1 = 0x55, BYTE byChipId2 = 0x70);
    ~SimHarness();
    SimHarness(const SimHarness&) = delete;
    SimHarness& operator=(const SimHarness&) = delete;

    void ExportEnvironment() const;

    const std::string& Folder() const { return m_strFolder; }
    const std::string& StatePath() const { return m_strStatePath; }
    const std::string& LogPath() const { return m_strLogPath; }
    BYTE* Ec() const { return m_state.Bytes(); }
    void SetChipId(BYTE byChipId1, BYTE byChipId2);

    // The log lines written since the last call (or since construction).
    std::vector<std::string> NewLogLines();

    // A path in the temporary folder, for a test's own files.
    std::string PathOf(const std::string& strName) const { return m_strFolder + "\\" + strName; }

    // The folder of the running test program, where the build puts io.dll,
    // ecsim.exe and the helper programs.
    static std::string ProgramFolder();
    // A helper program of the tests, which the build keeps in tests/tools/
    // beside bin/.
    static std::string ToolPath(const std::string& strName);
    // The simulated io.dll of the build: beside the tests in bin/, which is
    // where a helper program in tests/tools/ finds it too.
    static std::string LibraryPath();
    // An export of that io.dll, for tests and their helper programs that call
    // the library directly. The library is loaded on the first call and stays
    // loaded until the process ends.
    template <typename PFN> static PFN IoExport(const char* pszName)
    {
        return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(IoProcAddress(pszName)));
    }

private:
    static FARPROC IoProcAddress(const char* pszName);

    std::string m_strFolder;
    std::string m_strStatePath;
    std::string m_strLogPath;
    EcStateFile m_state;
    std::size_t m_nLogRead = 0;
};
