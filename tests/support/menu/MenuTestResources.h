#pragma once
// Menu templates of the menu tests.
#define IDM_TEST_NESTED 9001
#define IDM_TEST_ACCEL 9002

#define ID_TEST_OPEN 101
#define ID_TEST_EXIT 102
#define ID_TEST_ONE 111
#define ID_TEST_TWO 112
#define ID_TEST_ABOUT 201
