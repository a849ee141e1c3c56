// How EcAccess binds io.dll, seen from outside: ec_host.exe constructs one
// and then creates a window, ending with EXIT_CONSTRUCTED; an EcAccess that
// gives up ends it with 0 first.
#include "ec/EcAccess.h"

#include <gtest/gtest.h>

#include "ec/EcTestSupport.h"
#include "ecsim/ChildProcess.h"

namespace {

constexpr DWORD EXIT_CONSTRUCTED = 3;

// A folder of the test's own holding the given programs and libraries,
// copied from the build's output folder (a source named "x as y" is copied as y).
std::string FolderWith(const std::string& strName, std::initializer_list<std::pair<const char*, const char*>> files)
{
    const std::string strFolder = ProcessSim().PathOf(strName);
    CreateDirectoryA(strFolder.c_str(), nullptr);
    for (const auto& [pszSource, pszTarget] : files)
        EXPECT_TRUE(CopyFileA((SimHarness::ProgramFolder() + "\\" + pszSource).c_str(),
                              (strFolder + "\\" + pszTarget).c_str(), FALSE))
            << pszSource;
    return strFolder;
}

std::string CurrentPath()
{
    char szPath[32767];
    return std::string(szPath, GetEnvironmentVariableA("PATH", szPath, sizeof szPath));
}

} // namespace

TEST(EcAccessBinding, StartsWithIoDllBesideTheProgram)
{
    ProcessSim().SetChipId(0x55, 0x70);
    ProcessSim().NewLogLines();
    const std::string strFolder = FolderWith("beside", {{"ec_host.exe", "ec_host.exe"}, {"io.dll", "io.dll"}});

    ChildProcess host(strFolder + "\\ec_host.exe");
    EXPECT_EQ(host.Run(), EXIT_CONSTRUCTED);
    EXPECT_EQ(ProcessSim().NewLogLines().size(), 36u) << "the probe: two reads and a write";
}

TEST(EcAccessBinding, IoDllPlantedInTheCurrentFolderOrOnPathIsNotLoaded)
{
    ProcessSim().NewLogLines();
    const std::string strProgram = FolderWith("program", {{"ec_host.exe", "ec_host.exe"}});
    const std::string strPlanted = FolderWith("planted", {{"io.dll", "io.dll"}});

    ChildProcess host(strProgram + "\\ec_host.exe");
    host.Folder(strPlanted).Env("PATH", strPlanted + ";" + CurrentPath());
    EXPECT_EQ(host.Run(), 0u);
    EXPECT_TRUE(ProcessSim().NewLogLines().empty());
}

TEST(EcAccessBinding, ClosedDriverEndsTheProcessBeforeAnyPortAccess)
{
    ProcessSim().NewLogLines();
    const std::string strFolder = FolderWith("closed", {{"ec_host.exe", "ec_host.exe"}, {"io.dll", "io.dll"}});

    ChildProcess host(strFolder + "\\ec_host.exe");
    EXPECT_EQ(host.Env("ECSIM_DRIVER", "closed").Run(), 0u);
    EXPECT_TRUE(ProcessSim().NewLogLines().empty());
}

TEST(EcAccessBinding, MissingExportEndsTheProcessBeforeAnyPortAccess)
{
    ProcessSim().NewLogLines();
    const std::string strFolder =
        FolderWith("lacking", {{"ec_host.exe", "ec_host.exe"}, {"io_without_isxp64bit.dll", "io.dll"}});

    ChildProcess host(strFolder + "\\ec_host.exe");
    EXPECT_EQ(host.Run(), 0u);
    EXPECT_TRUE(ProcessSim().NewLogLines().empty());
}
