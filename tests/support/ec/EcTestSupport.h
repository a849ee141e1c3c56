#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ec/EcAccess.h"
#include "ecsim/SimHarness.h"
#include "tests/support/PortLog.h"

// What the ec tests share. io.dll reads its ECSIM_* variables once, when the
// first EcAccess of the test process loads it, so the process has one
// simulated EC; each test sets the chip id it needs in it.
SimHarness& ProcessSim();

// A ready EcAccess on a chip with this id, whose accesses wait up to
// dwAccessWaitLimitMs for the port mutex; the probe's log lines are consumed.
std::unique_ptr<EcAccess> ProbedEc(BYTE byChipId1, BYTE byChipId2, DWORD dwAccessWaitLimitMs = 100);

// Port log lines decoded into EC reads and writes; a broken sequence fails.
std::vector<EcOperation> EcOperationsOf(const std::vector<std::string>& lines);
// The EC reads and writes logged since the last look at the log.
std::vector<EcOperation> NewEcOperations();
// Whether another thread could take the port mutex right now (it takes it and
// gives it back at once).
bool PortMutexIsFree();

// The two ways another program can shut us out of the port mutex: it made
// the mutex with a DACL that grants nobody anything (an elevated hardware
// monitor's narrower one, as a standard user meets it), or it took the name
// for an event. Take() holds the name until its handle goes.
struct PortMutexBlocker
{
    const char* pszHow;
    DWORD dwError;   // what creating or opening the mutex then fails with
    SimKernelHandle (*Take)();
};
extern const PortMutexBlocker PORT_MUTEX_BLOCKERS[2];
