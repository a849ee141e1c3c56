#pragma once
// What the notebook's keyboard shows for each mode byte the EC holds. The
// firmware does the real lighting; this is a believable stand-in so that people
// without the hardware can see a mode change take effect.
#include <windows.h>

class Backlight
{
public:
    // The mode byte values the program writes (see the EC RAM map).
    enum Mode : BYTE
    {
        MODE_AUTO = 0,
        MODE_ON = 1,
        MODE_RAINBOW = 2,
        MODE_BREATH = 3,
        MODE_COLORLOOP = 4
    };

    // Colour of the key whose centre lies at fraction xFrac (0 left .. 1 right)
    // and yFrac (0 top .. 1 bottom) of the keyboard, tMs milliseconds into the run.
    static COLORREF KeyColor(BYTE byMode, double xFrac, double yFrac, DWORD tMs);

    // True when the picture changes with time, so the window needs frames.
    static bool IsAnimated(BYTE byMode);

    // Short name shown under the keyboard ("Breath", "unknown (0x07)").
    static void ModeName(BYTE byMode, char* pszOut, size_t cchOut);

    // hue in [0, 360), saturation and value in [0, 1].
    static COLORREF HsvToRgb(double dHue, double dSat, double dVal);

    // Period of one breath and of one colour loop, in milliseconds.
    static const DWORD BREATH_PERIOD_MS = 4000;
    static const DWORD COLORLOOP_PERIOD_MS = 6000;
    static const DWORD RAINBOW_PERIOD_MS = 3000;
};
