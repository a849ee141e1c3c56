#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ec/EcAccess.h"
#include "ecsim/SimHarness.h"

// What the ec tests share. io.dll reads its ECSIM_* variables once, when the
// first EcAccess of the test process loads it, so the process has one
// simulated EC; each test sets the chip id it needs in it.
SimHarness& ProcessSim();

// A ready EcAccess on a chip with this id; the probe's log lines are consumed.
std::unique_ptr<EcAccess> ProbedEc(BYTE byChipId1, BYTE byChipId2);

// The port log lines of one indirect EC access, as the chip's protocol has it:
// high address byte, low address byte, data register, then the data.
std::vector<std::string> EcReadLines(WORD wAddress, BYTE byAnswer);
std::vector<std::string> EcWriteLines(WORD wAddress, BYTE byValue);

std::vector<std::string> Concat(std::vector<std::string> first, const std::vector<std::string>& second);
