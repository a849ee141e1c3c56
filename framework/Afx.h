#pragma once
#include <windows.h>

class CWinApp;
class CWnd;

// Process-wide services of the layer.

// The one application object; null before it is constructed.
CWinApp* AfxGetApp();
// The thread's application object (one user-interface thread: the same).
CWinApp* AfxGetThread();
CWnd* AfxGetMainWnd();
const char* AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
// The module resources are loaded from.
HINSTANCE AfxGetResourceHandle();
// The module that holds resource lpszName of type lpszType: the resource
// module when it has it, else the executable.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// Kept for the start-up sequence; dialogs here host no ActiveX controls.
void AfxEnableControlContainer();

// A message box owned by the main window; the caption is the application's name.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);
int AfxMessageBoxW(const wchar_t* lpszText, UINT nType = MB_OK);

// Gets and dispatches one message (PreTranslateMessage first); FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// Idle work: deletes the borrowed wrappers FromHandle handed out.
void AfxDeleteTempMaps();

// The layer's start-up, called by WinMain.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
