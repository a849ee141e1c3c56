#pragma once
// Resource ids of the framework tests' dialogs.
#define IDD_TEST_CONTROLS 9001
#define IDD_TEST_VISIBLE 9002
#define IDD_TEST_VISIBLE_PLAIN 9003
#define IDC_TEST_BUTTON 1101
#define IDC_TEST_OWNERDRAW 1102
