// The resources built into Velkor.exe, checked as the program finds and loads them.
#include "base/OwnedHandle.h"
#include "framework/ClientDC.h"
#include "framework/ScopedSelect.h"
#include "res/resource.h"
#include "tests/support/PixelImage.h"

#include <gtest/gtest.h>
#include <windows.h>

static INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The popup's template is found whatever the system's language, and the main
// window fits the built-in background. Dialog units become pixels through the
// dialog font: where Wine lacks the fonts it maps "MS Shell Dlg" to, it takes
// a wider one and every picture of the skin lands elsewhere.
TEST(Resources, PopupTemplateIsFoundAndTheWindowFitsTheBuiltInBackground)
{
    // The popup's template is Chinese (PRC); an English system must still find it.
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_PWR_NOTIFY), RT_DIALOG), nullptr);

    // A window larger than the built-in background (1024 x 769) would show it tiled.
    HWND hMain = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, QuietDialogProc, 0);
    ASSERT_NE(hMain, nullptr);
    RECT client{};
    GetClientRect(hMain, &client);
    wchar_t szFace[LF_FACESIZE] = {};
    {
        CClientDC screen(nullptr);
        const ScopedSelect font(screen, reinterpret_cast<HGDIOBJ>(SendMessageW(hMain, WM_GETFONT, 0, 0)));
        GetTextFaceW(screen, LF_FACESIZE, szFace);
    }
    DestroyWindow(hMain);
    EXPECT_GT(client.right, 0);
    EXPECT_TRUE(client.right <= 1024 && client.bottom <= 769)
        << "the main window is " << client.right << " x " << client.bottom << " pixels: Wine draws the dialog font "
        << "with " << szFace << "; install the fonts it maps it to (scripts/common.sh does)";
}

TEST(Resources, ApplicationIconIsOneColourful32BitImage)
{
    HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
    EXPECT_EQ(*reinterpret_cast<const WORD*>(directory + 4), 1);   // image count
    EXPECT_EQ(*reinterpret_cast<const WORD*>(directory + 6 + 6), 32);   // bits per pixel
    const OwnedIcon icon(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 0, 0, 0))
    );
    ASSERT_TRUE(icon);
    // An RGB glow, not a grey shape.
    EXPECT_GT(PixelImage::IconOnFace(icon.Get(), 0, 0, RGB(255, 255, 255)).MeanChroma(), 20.0);
}
