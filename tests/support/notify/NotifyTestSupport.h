#pragma once
#include <windows.h>

#include <functional>

// Runs this thread's messages until the condition holds or the time is up;
// true when it held. The limits are generous: a test fails on them only when
// the thing never happens.
bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 5000);
