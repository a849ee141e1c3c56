// Starts that end at once, before any window, with exit status 0 and without
// touching a port: without a usable port library or its driver, or without
// the ports. (Second starts are checked with the sign-in start.)
#include "tests/support/VelkorSession.h"

#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"
#include "tests/support/ec/EcTestSupport.h"
#include "tests/support/ec/OtherPortUser.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

// io.dll is trusted only beside the program and in the system folder: one left
// in the working folder or on PATH is not loaded.
TEST(Startup, WithoutAUsablePortLibraryOrDriverTheProgramEndsSilentlyWithStatusZero)
{
    enum Case
    {
        DRIVER_CLOSED,
        LIBRARY_MISSING,
        EXPORT_MISSING,
        LIBRARY_ONLY_IN_WORKING_FOLDER_AND_PATH
    };
    for (Case c : {DRIVER_CLOSED, LIBRARY_MISSING, EXPORT_MISSING, LIBRARY_ONLY_IN_WORKING_FOLDER_AND_PATH})
    {
        SCOPED_TRACE(c);
        VelkorSession velkor(L"program");
        const std::wstring strLibrary = velkor.Install().Folder() + L"\\io.dll";
        ChildProcess::Environment env;
        if (c == DRIVER_CLOSED)
            env = {{L"ECSIM_DRIVER", L"closed"}};
        if (c == LIBRARY_MISSING || c == LIBRARY_ONLY_IN_WORKING_FOLDER_AND_PATH)
            FileSystem::Remove(strLibrary);
        if (c == EXPORT_MISSING)
            FileSystem::Copy(FileSystem::ModuleFolder() + L"\\io_without_isxp64bit.dll", strLibrary);
        if (c == LIBRARY_ONLY_IN_WORKING_FOLDER_AND_PATH)
        {
            const std::wstring strPlanted = velkor.Install().Root();
            FileSystem::Copy(FileSystem::ModuleFolder() + L"\\io.dll", strPlanted + L"\\io.dll");
            wchar_t szPath[32767] = {};
            GetEnvironmentVariableW(L"PATH", szPath, 32767);
            env = {{L"PATH", strPlanted + L";" + szPath}};
        }
        velkor.Start(env);
        ASSERT_TRUE(velkor.Process().WaitForExit(20000));
        EXPECT_EQ(velkor.Process().ExitCode(), 0u);
        EXPECT_TRUE(PortLog::Load(velkor.Install().LogPath()).Accesses().empty());
    }
}

namespace
{
    // The message box, owned by no window, whose text begins with strStart.
    HWND WaitForOwnerlessBox(const VelkorSession& velkor, const std::wstring& strStart)
    {
        HWND hBox = nullptr;
        WaitUntil(
            [&] {
                for (HWND hWnd : WindowQuery::TopLevelWindows(velkor.Process().Pid()))
                    hBox =
                        WindowQuery::MessageBoxText(hWnd).starts_with(strStart) && GetWindow(hWnd, GW_OWNER) == nullptr
                            ? hWnd
                            : hBox;
                return hBox != nullptr;
            },
            20000
        );
        return hBox;
    }

    // Dismisses the box and expects the program to end with status 0.
    void ExpectEndAfterBox(VelkorSession& velkor, HWND hBox)
    {
        PostMessageW(hBox, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(velkor.Process().WaitForExit(20000));
        EXPECT_EQ(velkor.Process().ExitCode(), 0u);
    }
}

// Another program keeps the EC ports past the probe's five seconds: no window
// comes, only a message (which no window owns), and once it is read the
// program ends with status 0, having touched no port.
TEST(Startup, PortsKeptByAnotherProgramAreToldAndLeftAlone)
{
    VelkorSession velkor;
    TestInstall& install = velkor.Install();
    OtherPortUser other(Text::ToUtf8(install.StatePath()), Text::ToUtf8(install.LogPath()));
    ASSERT_TRUE(other.Hold());
    velkor.Start();
    const HWND hBox = WaitForOwnerlessBox(velkor, L"Another program is using the EC ports");
    ASSERT_NE(hBox, nullptr) << "no word of the busy ports";
    EXPECT_TRUE(velkor.Process().IsRunning());
    EXPECT_TRUE(PortLog::Load(install.LogPath()).Accesses().empty());

    ExpectEndAfterBox(velkor, hBox);
    other.Go();
    EXPECT_EQ(other.Wait(), 0u);
    EXPECT_EQ(PortLog::Load(install.LogPath()).EcOperations(), std::vector<EcOperation>{EcRead(0x2000, 0x55)})
        << "only the other program's access";
}

// A hardware monitor running elevated made the ports' mutex so that a standard
// user cannot open it, or a program took its name for another kind of object:
// it may be using the ports unseen. The program starts as if the ports were
// kept for good: a message that names the mutex and the cause, then the end,
// with status 0 and without a port access.
TEST(Startup, UnopenablePortMutexIsToldWithItsCauseAndNoPortTouched)
{
    const std::wstring strMutex = L"The EC ports' mutex, Global\\Access_ISABUS.HTP.Method, is in use by another "
                                  L"program and cannot be shared (";
    const wchar_t* reasons[] = {L"access denied).", L"its name is taken by another kind of object)."};
    for (size_t i = 0; i < std::size(PORT_MUTEX_BLOCKERS); ++i)
    {
        SCOPED_TRACE(PORT_MUTEX_BLOCKERS[i].pszHow);
        const SimKernelHandle hBlocker = PORT_MUTEX_BLOCKERS[i].Take();
        ASSERT_TRUE(hBlocker);
        VelkorSession velkor;
        velkor.Start();
        const HWND hBox = WaitForOwnerlessBox(velkor, strMutex + reasons[i]);
        ASSERT_NE(hBox, nullptr) << "no word of the mutex";
        EXPECT_TRUE(WindowQuery::MessageBoxText(hBox).ends_with(L"Velkor will close without touching them."));
        ExpectEndAfterBox(velkor, hBox);
        EXPECT_TRUE(PortLog::Load(velkor.Install().LogPath()).Accesses().empty()) << "ports touched without the mutex";
    }
}
