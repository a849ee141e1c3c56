#pragma once
#include <windows.h>

#include "base/OwnedHandle.h"

// One Velkor per user session: a tray utility started twice would show two
// windows, two tray icons and two popups for each power change. The first
// start holds a named mutex for its whole run; a later start finds it taken,
// asks the running one to show its main window and ends, before it touches
// io.dll or a port.
class SingleInstance
{
public:
    SingleInstance();

    // False when another instance of the program runs in this session.
    bool IsFirst() const { return m_bFirst; }

    // Asks the running instance's main window, titled pszWindowText, to show
    // itself (out of the tray, in the foreground). Waits a few seconds for the
    // window, which a program still starting has not made yet.
    static void ActivateRunning(const char* pszWindowText);

    // The message the running instance's main window answers by showing itself.
    static UINT ActivateMessage();

private:
    OwnedKernelHandle m_hMutex;   // held for the whole run: its existence is the mark
    bool m_bFirst;
};
