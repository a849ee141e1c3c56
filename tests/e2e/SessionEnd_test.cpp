// Windows ending the session, and an installer's restart manager closing the
// program before it replaces its files: Velkor agrees when asked and ends as
// its own Exit ends it once the end is decided.
#include "tests/e2e/FakeShellTray.h"
#include "tests/support/VelkorSession.h"

#include <gtest/gtest.h>

// Each way to end, from the tray, where the end must take the icon along:
// the shell is asked to remove it, no port access is cut short, the status is
// 0 and no message is shown. Wine's notification area drops a dead program's
// icons by itself, Windows' keeps them until the mouse passes over: a
// stand-in shell hears whether the program asks for its icon's removal.
TEST(SessionEnd, RestartManagerSignOutAndTheOkCommandEndTheProgramAsExitDoes)
{
    const struct
    {
        const char* pszName;
        UINT nMessage;   // the message that ends it: WM_ENDSESSION or WM_COMMAND
        LPARAM lEndSession;   // ENDSESSION_* of the query and the end
    } ways[] = {
        {"restart manager", WM_ENDSESSION, ENDSESSION_CLOSEAPP},
        {"sign-out", WM_ENDSESSION, static_cast<LPARAM>(ENDSESSION_LOGOFF)},
        {"the installer's OK command", WM_COMMAND, 0},
    };
    for (const auto& way : ways)
    {
        SCOPED_TRACE(way.pszName);
        VelkorSession velkor;
        ASSERT_TRUE(velkor.StartInTray());
        const HWND hMain = velkor.Main();

        // Registered to come back in the tray after the restart manager closed
        // it. Windows keeps the registration; Wine does not (E_NOTIMPL).
        wchar_t szRestart[RESTART_MAX_CMD_LINE] = {};
        DWORD cchRestart = RESTART_MAX_CMD_LINE, dwRestartFlags = 0;
        const HRESULT hrRestart =
            GetApplicationRestartSettings(velkor.Process().Handle(), szRestart, &cchRestart, &dwRestartFlags);
        if (hrRestart != E_NOTIMPL)
        {
            EXPECT_EQ(hrRestart, S_OK);
            EXPECT_STREQ(szRestart, L"/tray");
            EXPECT_EQ(dwRestartFlags, static_cast<DWORD>(RESTART_NO_CRASH | RESTART_NO_HANG));
        }

        FakeShellTray shell(0);
        if (way.nMessage == WM_ENDSESSION)
        {
            // Asked, it agrees and goes on; an end called off changes nothing.
            EXPECT_EQ(VelkorSession::Send(hMain, WM_QUERYENDSESSION, 0, way.lEndSession), TRUE);
            EXPECT_EQ(VelkorSession::Send(hMain, WM_ENDSESSION, FALSE, way.lEndSession), 0);
            EXPECT_TRUE(velkor.Process().IsRunning());
            EXPECT_EQ(shell.Calls(NIM_DELETE), 0) << "an end called off took the icon away";
            EXPECT_EQ(VelkorSession::Send(hMain, WM_QUERYENDSESSION, 0, way.lEndSession), TRUE);
            VelkorSession::Send(hMain, WM_ENDSESSION, TRUE, way.lEndSession);
        }
        else
        {
            PostMessageW(hMain, WM_COMMAND, IDOK, 0);
        }
        ASSERT_TRUE(velkor.Process().WaitForExit(10000)) << "still running";
        EXPECT_EQ(velkor.Process().ExitCode(), 0u);
        EXPECT_EQ(shell.Calls(NIM_DELETE), 1) << "the icon is left in the notification area";
        EXPECT_NO_THROW(PortLog::Load(velkor.Install().LogPath()).EcOperations()) << "a port access was cut short";
    }
}
