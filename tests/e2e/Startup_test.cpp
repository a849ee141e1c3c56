// Starts that end at once, before any window, with exit status 0 and without
// touching a port: without a usable port library or its driver, and a second start.
#include "tests/support/NotifyWindows.h"
#include "tests/support/VelkorSession.h"

#include "tests/support/FileSystem.h"
#include "tests/support/Text.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"
#include "tests/support/ec/OtherPortUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
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

// Another program keeps the EC ports past the probe's five seconds: no window
// comes, only a message (which no window owns), and once it is read the
// program ends with status 0, having touched no port.
TEST(Startup, WhileAnotherProgramKeepsThePortsTheUserIsToldAndTheProgramEndsWithoutPortAccess)
{
    VelkorSession velkor;
    TestInstall& install = velkor.Install();
    OtherPortUser other(Text::ToUtf8(install.StatePath()), Text::ToUtf8(install.LogPath()));
    ASSERT_TRUE(other.Hold());
    velkor.Start();
    HWND hBox = nullptr;
    const auto findBox = [&] {
        for (HWND hWnd : WindowQuery::TopLevelWindows(velkor.Process().Pid()))
            hBox =
                WindowQuery::MessageBoxText(hWnd).starts_with(L"Another program is using the EC ports") ? hWnd : hBox;
        return hBox != nullptr;
    };
    ASSERT_TRUE(WaitUntil(findBox, 20000)) << "no word of the busy ports";
    EXPECT_TRUE(velkor.Process().IsRunning());
    EXPECT_TRUE(PortLog::Load(install.LogPath()).Accesses().empty());

    PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(velkor.Process().WaitForExit(20000));
    EXPECT_EQ(velkor.Process().ExitCode(), 0u);
    other.Go();
    EXPECT_EQ(other.Wait(), 0u);
    EXPECT_EQ(PortLog::Load(install.LogPath()).EcOperations(), std::vector<EcOperation>{EcRead(0x2000, 0x55)})
        << "only the other program's access";
}

namespace
{
    BOOL CALLBACK CountMainWindow(HWND hWnd, LPARAM lParam)
    {
        if (IsWindowVisible(hWnd) && WindowQuery::Text(hWnd) == L"Glowdeck--support@glowdeck.example")
            ++*reinterpret_cast<int*>(lParam);
        return TRUE;
    }

    // Visible windows of any process that show the main window's text.
    int VisibleMainWindows()
    {
        int nCount = 0;
        EnumWindows(&CountMainWindow, reinterpret_cast<LPARAM>(&nCount));
        return nCount;
    }

    size_t CountOperations(const std::vector<EcOperation>& ops, EcOperation::Kind kind, std::uint16_t wAddress)
    {
        return static_cast<size_t>(std::count_if(ops.begin(), ops.end(), [&](const EcOperation& op) {
            return op.kind == kind && op.wAddress == wAddress;
        }));
    }
}

// A tray utility runs once per session: starting it again brings the running
// one back and ends, before it loads io.dll or touches a port.
TEST(Startup, SecondStartBringsTheRunningWindowBackOutOfTheTrayAndEndsQuietly)
{
    VelkorSession velkor;
    ASSERT_TRUE(velkor.StartShown());
    PostMessageW(
        velkor.Main(), WM_COMMAND, MAKEWPARAM(IDC_MIN, BN_CLICKED), reinterpret_cast<LPARAM>(velkor.Control(IDC_MIN))
    );
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(velkor.Main()); })) << "MIN did not put the window away";
    ASSERT_TRUE(WindowQuery::TrayIconExists(velkor.Main(), TRAY_ICON_ID));

    std::unique_ptr<ChildProcess> second = velkor.Install().Start();
    ASSERT_TRUE(second->WaitForExit(20000)) << "the second start keeps running";
    EXPECT_EQ(second->ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(velkor.Main()) != FALSE; })) << "the running window stayed away";
    EXPECT_TRUE(WaitUntil([&] { return !WindowQuery::TrayIconExists(velkor.Main(), TRAY_ICON_ID); }))
        << "its tray icon stayed";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == velkor.Main(); }, 5000)) << "not brought to the front";
    EXPECT_EQ(VisibleMainWindows(), 1);

    // One probe in the log: the chip id read once, the control byte written once.
    const std::vector<EcOperation> ops = velkor.EcOperations();
    EXPECT_EQ(CountOperations(ops, EcOperation::Read, 0x2000), 1u);
    EXPECT_EQ(CountOperations(ops, EcOperation::Write, 0x1060), 1u);
    EXPECT_TRUE(velkor.Process().IsRunning());
}
