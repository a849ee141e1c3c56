// How EcAccess binds io.dll, seen from outside: ec_host.exe constructs one
// and then creates a window, ending with EXIT_CONSTRUCTED; an EcAccess that
// gives up ends it with 0 first.
#include "ec/EcAccess.h"

#include <gtest/gtest.h>

#include "tests/support/ec/EcTestSupport.h"
#include "ecsim/ProgramRun.h"

namespace {

constexpr DWORD EXIT_CONSTRUCTED = 3;

// A folder of the test's own holding ec_host.exe and, if named, a library
// from the build's output folder copied in as io.dll.
std::string HostFolder(const std::string& strName, const char* pszIoDll)
{
    const std::string strFolder = ProcessSim().PathOf(strName);
    CreateDirectoryA(strFolder.c_str(), nullptr);
    EXPECT_TRUE(CopyFileA(SimHarness::ToolPath("ec_host.exe").c_str(),
                          (strFolder + "\\ec_host.exe").c_str(), FALSE));
    if (pszIoDll != nullptr)
    {
        EXPECT_TRUE(CopyFileA((SimHarness::ProgramFolder() + "\\" + pszIoDll).c_str(),
                              (strFolder + "\\io.dll").c_str(), FALSE));
    }
    return strFolder;
}

} // namespace

TEST(EcAccessBinding, StartsWithIoDllBesideTheProgram)
{
    ProcessSim().SetChipId(0x55, 0x70);
    ProcessSim().NewLogLines();

    ProgramRun host(HostFolder("beside", "io.dll") + "\\ec_host.exe");
    EXPECT_EQ(host.Run(), EXIT_CONSTRUCTED);
    EXPECT_EQ(ProcessSim().NewLogLines().size(), 36u) << "the probe: two reads and a write";
}

// Each ends the process with status 0 before it has a window or touches a port.
TEST(EcAccessBinding, UntrustedClosedOrIncompleteIoDllEndsTheProcessBeforeAnyPortAccess)
{
    const std::string strPlanted = HostFolder("planted", "io.dll");
    char szPath[32767];
    const std::string strPath(szPath, GetEnvironmentVariableA("PATH", szPath, sizeof szPath));

    ProgramRun onlyInCurrentFolderAndPath(HostFolder("program", nullptr) + "\\ec_host.exe");
    onlyInCurrentFolderAndPath.Folder(strPlanted).Env("PATH", strPlanted + ";" + strPath);
    ProgramRun driverClosed(HostFolder("closed", "io.dll") + "\\ec_host.exe");
    driverClosed.Env("ECSIM_DRIVER", "closed");
    ProgramRun exportMissing(HostFolder("lacking", "io_without_isxp64bit.dll") + "\\ec_host.exe");

    const std::pair<const char*, ProgramRun*> cases[] = {
        {"io.dll only in the current folder and on PATH", &onlyInCurrentFolderAndPath},
        {"driver closed", &driverClosed},
        {"IsXP64Bit missing", &exportMissing},
    };
    for (const auto& [pszCase, pHost] : cases) {
        SCOPED_TRACE(pszCase);
        ProcessSim().NewLogLines();
        EXPECT_EQ(pHost->Run(), 0u);
        EXPECT_TRUE(ProcessSim().NewLogLines().empty());
    }
}
