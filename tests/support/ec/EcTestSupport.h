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
