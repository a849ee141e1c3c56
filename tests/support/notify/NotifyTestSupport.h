#pragma once
#include <windows.h>

#include <functional>

class CDlgPwrNotify;
class EcAccess;

// What the notify tests share.

// Runs this thread's messages until the condition holds or the time is up;
// true when it held. The limits are generous: a test fails on them only when
// the thing never happens.
bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 5000);
// Runs this thread's messages for a while.
void PumpFor(DWORD dwMs);

// The process's one EC, on the simulator in a temporary folder of its own
// (io.dll reads its settings once per process).
EcAccess& ProcessEc();
// Sets the power-level byte that the next poll reads.
void SetPowerByte(BYTE byValue);

// Whether the shell holds an icon of this window with this identifier.
bool TrayIconExists(HWND hWnd, UINT uID);

// The power popup owned by hWndOwner, or null while there is none; fails the
// test when there is more than one.
CDlgPwrNotify* PopupOwnedBy(HWND hWndOwner);
