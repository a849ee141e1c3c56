#pragma once
// What window_show_hook.dll, loaded into every program with windows by a
// global WH_CALLWNDPROC hook, reports to the test that set the hook: each
// top-level window made (WM_CREATE) and each one that became visible
// (WM_WINDOWPOSCHANGED with SWP_SHOWWINDOW), posted to the test's
// message-only window of this class, the window's handle in wParam.
#include <windows.h>

constexpr wchar_t WINDOW_SHOW_SINK_CLASS[] = L"VelkorTestWindowShowSink";
constexpr UINT WM_WATCHED_CREATE = WM_APP + 1;
constexpr UINT WM_WATCHED_SHOW = WM_APP + 2;
// The hook procedure's export (undecorated, see window_show_hook.def).
constexpr char WINDOW_SHOW_HOOK_PROC[] = "WindowShowHook";
