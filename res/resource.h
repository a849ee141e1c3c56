// Resource ids of Velkor.exe, shared by Velkor.rc and the program's code.
#ifndef VELKOR_RES_RESOURCE_H
#define VELKOR_RES_RESOURCE_H

// System-menu command of the About item; the low four bits stay clear, as the
// system reserves them.
#define IDM_ABOUTBOX 0x0010

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128   // application and tray icon
#define IDB_DEFAULT_BG 129   // background when the skin has none
#define IDD_PWR_NOTIFY 153   // power-level popup

// The system default language that gets the Chinese skin and texts (Chinese,
// PRC); every other language gets the English ones.
#define LANG_ID_CHINESE_PRC 0x0804

// Controls of the main dialog.
#define IDC_ON 1000
#define IDC_RAINBOW 1001
#define IDC_STATIC_BTN 1002   // hidden button that steps the power popup by hand
#define IDC_BREATH 1003
#define IDC_COLORLOOP 1004
#define IDC_EXIT 1005
#define IDC_MIN 1006
#define IDC_AUTO 1010

// Controls of the power-level popup (both hidden).
#define IDC_TEST 1007
#define IDC_PWR_TEXT 1008

#endif
