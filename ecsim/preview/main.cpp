// Keyboard preview: shows what the notebook's backlight would do for the mode
// byte in the EC simulator's state file, for people without the hardware.
#include "EcStateView.h"
#include "PreviewWindow.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    char szExe[MAX_PATH];
    const DWORD cch = GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    std::string strFolder(szExe, cch);
    const size_t nSlash = strFolder.find_last_of('\\');
    strFolder.erase(nSlash == std::string::npos ? 0 : nSlash);

    PreviewWindow wnd(EcStateView::DefaultPath(strFolder));
    if (!wnd.Create(hInstance, nCmdShow))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
