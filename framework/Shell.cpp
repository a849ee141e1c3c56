#include "framework/Shell.h"

#include <string>

namespace
{
    // shell32 from the system folder only, never from the program's or the
    // current folder; loaded once and kept for the rest of the run.
    HMODULE ShellLibrary()
    {
        static const HMODULE hShell = [] {
            wchar_t szSystem[MAX_PATH];
            const UINT nLen = ::GetSystemDirectoryW(szSystem, MAX_PATH);
            if (nLen == 0 || nLen >= MAX_PATH)
                return HMODULE{};
            return ::LoadLibraryW((std::wstring(szSystem, nLen) + L"\\shell32.dll").c_str());
        }();
        return hShell;
    }

    template <class TFunction> TFunction* ShellFunction(const char* pszName)
    {
        HMODULE hShell = ShellLibrary();
        return hShell != nullptr
                   ? reinterpret_cast<TFunction*>(reinterpret_cast<void*>(::GetProcAddress(hShell, pszName)))
                   : nullptr;
    }
}   // namespace

namespace Shell
{
    BOOL NotifyIcon(DWORD dwMessage, NOTIFYICONDATAA* pData)
    {
        static auto* const pfnNotify = ShellFunction<decltype(::Shell_NotifyIconA)>("Shell_NotifyIconA");
        return pfnNotify != nullptr && pfnNotify(dwMessage, pData);
    }

    BOOL ExecuteEx(SHELLEXECUTEINFOA* pInfo)
    {
        static auto* const pfnExecute = ShellFunction<decltype(::ShellExecuteExA)>("ShellExecuteExA");
        return pfnExecute != nullptr && pfnExecute(pInfo);
    }
}   // namespace Shell
