#pragma once
#include <windows.h>
#include <string>

class CWinApp;
class CWnd;

// Process-wide services of the layer.

// The one application object; null before it is constructed.
CWinApp* AfxGetApp();
// The thread's application object (one user-interface thread: the same).
CWinApp* AfxGetThread();
CWnd* AfxGetMainWnd();
// The application's name; without an application object, the executable's
// file name without folder and extension.
const char* AfxGetAppName();
std::string AfxGetModuleBaseName();
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

// Runs a message of a message loop: PreTranslateMessage of its window and the
// window's ancestors first, then TranslateMessage and DispatchMessage.
void AfxDispatchMessage(MSG* pMsg);
// Idle work of a message loop: deletes the borrowed wrappers FromHandle
// handed out, unless the loop runs inside a window procedure (a nested modal
// loop), where handlers further up may still hold them.
void AfxOnIdle();

// The layer's start-up, called by WinMain.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
