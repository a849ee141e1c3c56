// What the installer's custom action ends before it replaces files: real
// Velkor and velkorctl processes of a test folder. Wine runs every process in
// one session and lets this user open all of them, so the stopper is told
// otherwise for some (another session, a process it may not open, a process
// list that fails) through the system calls it makes.
#include "ProgramStopper.h"

#include <windows.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/CtrlBreak.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileSystem.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestInstall.h"
#include "tests/support/Text.h"
#include "tests/support/Wait.h"
#include "tests/support/WindowQuery.h"

namespace
{
    using Fate = ProgramStopper::Fate;

    // Long enough for any program that ends when asked, even emulated; the
    // waits return as soon as the programs have gone.
    constexpr DWORD GRACE_MS = 20000;

    class StagedStopper : public ProgramStopper
    {
    public:
        using ProgramStopper::ProgramStopper;

        std::map<DWORD, DWORD> sessions;   // process id: the session it is said to run in
        std::set<DWORD> unopenable;   // ERROR_ACCESS_DENIED for these
        DWORD dwSnapshotError = ERROR_SUCCESS;

    protected:
        HANDLE CreateToolhelp32Snapshot() const override
        {
            if (dwSnapshotError == ERROR_SUCCESS)
                return ProgramStopper::CreateToolhelp32Snapshot();
            SetLastError(dwSnapshotError);
            return INVALID_HANDLE_VALUE;
        }
        HANDLE OpenProcess(DWORD dwAccess, DWORD dwProcessId) const override
        {
            if (unopenable.count(dwProcessId) == 0)
                return ProgramStopper::OpenProcess(dwAccess, dwProcessId);
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        BOOL ProcessIdToSessionId(DWORD dwProcessId, DWORD* pdwSession) const override
        {
            const auto it = sessions.find(dwProcessId);
            if (it == sessions.end())
                return ProgramStopper::ProcessIdToSessionId(dwProcessId, pdwSession);
            *pdwSession = it->second;
            return TRUE;
        }
    };

    // Velkor.exe and velkorctl.exe side by side, as installed, with the simulator.
    class InstalledPrograms
    {
    public:
        InstalledPrograms() { FileSystem::Copy(FileSystem::ProductFolder() + L"\\velkorctl.exe", Ctl()); }

        std::wstring Velkor() const { return m_install.ExePath(); }
        std::wstring Ctl() const { return m_install.Folder() + L"\\velkorctl.exe"; }

        // Velkor with its window up, ready to be asked.
        std::unique_ptr<ChildProcess> StartVelkor() const
        {
            std::unique_ptr<ChildProcess> velkor = m_install.Start();
            EXPECT_TRUE(WaitUntil([&] { return WindowQuery::MainWindow(velkor->Pid()) != nullptr; }));
            return velkor;
        }

        // velkorctl watch of this folder or another, once it can be asked.
        std::unique_ptr<ChildProcess> StartWatch(const std::wstring& strCtl) const
        {
            auto watch = std::make_unique<ChildProcess>(
                strCtl, L"watch", m_install.Root(), ChildProcess::Environment{{L"ECSIM_STATE", m_install.StatePath()}}
            );
            const std::wstring strStop = CtrlBreak::StopEventName(watch->Pid());
            EXPECT_TRUE(WaitUntil([&] {
                return OwnedKernelHandle(OpenEventW(SYNCHRONIZE, FALSE, strStop.c_str())) || !watch->IsRunning();
            }));
            return watch;
        }

    private:
        TestInstall m_install;
    };

    // "velkorctl.exe 1234 OtherSession 7", sorted by process: a mismatch shows whole.
    std::vector<std::string> Lines(std::vector<ProgramStopper::Process> processes)
    {
        static const char* const FATES[] = {"Exited", "Terminated", "OtherSession", "NotOpened", "NotEnded"};
        std::sort(processes.begin(), processes.end(), [](const auto& a, const auto& b) {
            return a.dwProcessId < b.dwProcessId;
        });
        std::vector<std::string> lines;
        for (const ProgramStopper::Process& process : processes)
        {
            lines.push_back(
                Text::ToUtf8(process.strExeName) + " " + std::to_string(process.dwProcessId) + " " +
                FATES[static_cast<int>(process.fate)] + " " + std::to_string(process.dwDetail)
            );
        }
        return lines;
    }
}

// Velkor and a velkorctl watch of this session end when asked, between two of
// their steps (status 0, not the terminated 1). Another session's velkorctl
// and one that cannot be opened are named and left running; so is a velkorctl
// of another folder, unnamed.
TEST(ProgramStopper, EndsThisSessionsProgramsOfTheFolderOnly)
{
    const InstalledPrograms programs;
    TestInstall elsewhere(L"velkorctl.exe");
    const auto velkor = programs.StartVelkor();
    const auto ownWatch = programs.StartWatch(programs.Ctl());
    const auto otherSessionWatch = programs.StartWatch(programs.Ctl());
    const auto lockedWatch = programs.StartWatch(programs.Ctl());
    const auto elsewhereWatch = programs.StartWatch(elsewhere.ExePath());

    StagedStopper stopper({programs.Velkor(), programs.Ctl()});
    DWORD dwOwnSession = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &dwOwnSession));
    const DWORD dwOtherSession = dwOwnSession + 1;
    stopper.sessions[otherSessionWatch->Pid()] = dwOtherSession;
    stopper.unopenable.insert(lockedWatch->Pid());
    const ProgramStopper::Outcome outcome = stopper.EndAll(GRACE_MS);

    EXPECT_EQ(outcome.dwListError, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(outcome.dwSession, dwOwnSession);
    EXPECT_EQ(
        Lines(outcome.processes), Lines({
                                      {L"Velkor.exe", velkor->Pid(), Fate::Exited, 0},
                                      {L"velkorctl.exe", ownWatch->Pid(), Fate::Exited, 0},
                                      {L"velkorctl.exe", otherSessionWatch->Pid(), Fate::OtherSession, dwOtherSession},
                                      {L"velkorctl.exe", lockedWatch->Pid(), Fate::NotOpened, ERROR_ACCESS_DENIED},
                                  })
    );
    EXPECT_EQ(velkor->ExitCode(), 0u);
    EXPECT_EQ(ownWatch->ExitCode(), 0u);
    EXPECT_TRUE(otherSessionWatch->IsRunning());
    EXPECT_TRUE(lockedWatch->IsRunning());
    EXPECT_TRUE(elsewhereWatch->IsRunning());
}

// A program that does not end when asked (here one without a window or a stop
// event) is terminated once the grace time is up.
TEST(ProgramStopper, TerminatesWhatOutlastsTheGraceTime)
{
    const TempFolder folder;
    const std::wstring strDeaf = folder.File(L"Velkor.exe");
    FileSystem::Copy(FileSystem::ProductFolder() + L"\\ecsim.exe", strDeaf);
    const ChildProcess deaf(strDeaf, L"watch", folder.Path(), {{L"ECSIM_STATE", folder.File(L"ec-state.bin")}});

    const ProgramStopper::Outcome outcome = ProgramStopper({strDeaf}).EndAll(300);

    EXPECT_EQ(Lines(outcome.processes), Lines({{L"Velkor.exe", deaf.Pid(), Fate::Terminated, 0}}));
    EXPECT_EQ(deaf.ExitCode(), 1u);
}

// Without the list of processes nothing is known, so nothing is done, and the
// caller hears why instead of an all-clear.
TEST(ProgramStopper, AFailedProcessListIsAFailure)
{
    const InstalledPrograms programs;
    const auto watch = programs.StartWatch(programs.Ctl());
    StagedStopper stopper({programs.Velkor(), programs.Ctl()});
    stopper.dwSnapshotError = ERROR_NOT_ENOUGH_MEMORY;

    const ProgramStopper::Outcome outcome = stopper.EndAll(GRACE_MS);

    EXPECT_EQ(outcome.dwListError, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_TRUE(outcome.processes.empty());
    EXPECT_TRUE(watch->IsRunning());
}

// The custom action itself, from the package's DLL: an installation folder it
// cannot learn fails the installation rather than passing unlooked.
TEST(SetupActions, AnUnknownInstallationFolderIsAFailure)
{
    const std::wstring strDll = FileSystem::ProductFolder() + L"\\..\\installer\\setup_actions.dll";
    const HMODULE hDll = LoadLibraryW(strDll.c_str());
    ASSERT_NE(hDll, nullptr) << Text::ToUtf8(strDll);
    const auto pfnEndRunning = reinterpret_cast<UINT(__stdcall*)(MSIHANDLE)>(
        reinterpret_cast<void (*)()>(GetProcAddress(hDll, "EndRunningVelkor"))
    );
    ASSERT_NE(pfnEndRunning, nullptr);

    // No installation session: the folder cannot be resolved.
    EXPECT_EQ(pfnEndRunning(0), static_cast<UINT>(ERROR_INSTALL_FAILURE));
    FreeLibrary(hDll);
}
