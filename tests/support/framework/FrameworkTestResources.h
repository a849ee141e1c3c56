#pragma once
// Resource ids of the framework tests' dialogs.
#define IDD_TEST_CONTROLS 9001
#define IDC_TEST_BUTTON 1101
#define IDC_TEST_OWNERDRAW 1102
