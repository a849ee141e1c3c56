#pragma once
// The drop-down menu of the button tests.
#define IDM_TEST_DROPDOWN 9101
#define ID_TEST_FIRST 301
#define ID_TEST_SECOND 302
