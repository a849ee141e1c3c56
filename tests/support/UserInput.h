#pragma once
// Real input, as a user gives it: mouse and keyboard through SendInput, so the
// other process receives the same messages a person would cause.
#include <windows.h>

namespace UserInput
{
    // Brings a window to the front and waits until it is the foreground window.
    bool BringToFront(HWND hWnd);

    void MoveTo(POINT ptScreen);
    void LeftDown();
    void LeftUp();
    // Moves to the point, presses and releases the left button.
    void Click(POINT ptScreen);
    // Clicks the centre of a window (a control).
    void ClickCentre(HWND hWnd);
    // Presses the left button at ptFrom, moves in steps to ptTo, releases there.
    // Returns how far the cursor really went (screen scaling may round a pixel).
    SIZE Drag(POINT ptFrom, POINT ptTo, int nSteps = 10);

    // Presses and releases a key; with a modifier (VK_MENU, VK_CONTROL, VK_SHIFT)
    // held around it when wModifier is not 0.
    void Key(WORD wVk, WORD wModifier = 0);
}
