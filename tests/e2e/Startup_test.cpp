// Without its port library or driver the program ends at once, before any
// window, with exit status 0 and without touching a port.
#include "tests/e2e/VelkorSession.h"

#include "tests/support/FileSystem.h"

#include <gtest/gtest.h>

TEST(Startup, ClosedDriverOrMissingPortLibraryEndsTheProgramSilentlyWithStatusZero)
{
    for (bool bLibraryMissing : {false, true})
    {
        SCOPED_TRACE(bLibraryMissing ? "io.dll missing" : "driver closed");
        VelkorSession velkor;
        if (bLibraryMissing)
            FileSystem::Remove(velkor.Install().Folder() + L"\\io.dll");
        velkor.Start(bLibraryMissing ? ChildProcess::Environment{} : ChildProcess::Environment{{L"ECSIM_DRIVER", L"closed"}});
        ASSERT_TRUE(velkor.Process().WaitForExit(20000));
        EXPECT_EQ(velkor.Process().ExitCode(), 0u);
        EXPECT_TRUE(PortLog::Load(velkor.Install().LogPath()).Accesses().empty());
    }
}
