#pragma once
// What the main window hears from its notification-area icon and the icon's
// menu. The tests that drive the program from outside send the same.
#include <windows.h>

constexpr UINT TRAY_ICON_ID = 128;   // the icon's identifier towards the shell
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;   // the shell's callback for mouse actions on the icon
constexpr UINT ID_TRAY_OPEN = 11;   // tray menu: bring the main window back
constexpr UINT ID_TRAY_EXIT = 13;   // tray menu: end the program
