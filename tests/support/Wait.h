#pragma once
#include <functional>

// Polls a condition until it holds or the time runs out; true when it held.
// Waits are for things another process does; the limits are generous, and a
// test fails on them only when the thing never happens.
bool WaitUntil(const std::function<bool()>& condition, unsigned nTimeoutMs = 10000);

// Lets the other process get on with it when there is nothing to poll for.
void Pause(unsigned nMs);
