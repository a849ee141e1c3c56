#include "Backlight.h"

#include <cmath>
#include <cstdio>

namespace
{
    const double PI = 3.14159265358979323846;

    // Fraction of the way through a repeating period, in [0, 1).
    double Phase(DWORD tMs, DWORD periodMs)
    {
        return static_cast<double>(tMs % periodMs) / periodMs;
    }

    COLORREF Scale(COLORREF cr, double dFactor)
    {
        return RGB(
            static_cast<int>(GetRValue(cr) * dFactor), static_cast<int>(GetGValue(cr) * dFactor),
            static_cast<int>(GetBValue(cr) * dFactor)
        );
    }
}   // namespace

COLORREF Backlight::HsvToRgb(double dHue, double dSat, double dVal)
{
    dHue = std::fmod(dHue, 360.0);
    if (dHue < 0)
        dHue += 360.0;
    const double c = dVal * dSat;
    const double x = c * (1 - std::fabs(std::fmod(dHue / 60.0, 2.0) - 1));
    const double m = dVal - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(dHue / 60.0))
    {
    case 0:
        r = c;
        g = x;
        break;
    case 1:
        r = x;
        g = c;
        break;
    case 2:
        g = c;
        b = x;
        break;
    case 3:
        g = x;
        b = c;
        break;
    case 4:
        r = x;
        b = c;
        break;
    default:
        r = c;
        b = x;
        break;
    }
    auto toByte = [m](double v) { return static_cast<int>(std::lround((v + m) * 255.0)); };
    return RGB(toByte(r), toByte(g), toByte(b));
}

COLORREF Backlight::KeyColor(BYTE byMode, double xFrac, double yFrac, DWORD tMs)
{
    switch (byMode)
    {
    case MODE_ON: return RGB(90, 200, 255);
    case MODE_RAINBOW:
        // Bands of hue sweep from left to right across the whole keyboard.
        return HsvToRgb(360.0 * (xFrac - Phase(tMs, RAINBOW_PERIOD_MS)), 1.0, 1.0);
    case MODE_BREATH: {
        // A smooth rise and fall that never goes completely dark.
        const double level = 0.5 - 0.5 * std::cos(2 * PI * Phase(tMs, BREATH_PERIOD_MS));
        return Scale(RGB(255, 60, 200), 0.08 + 0.92 * level);
    }
    case MODE_COLORLOOP:
        // The whole keyboard takes one colour at a time and walks the colour wheel.
        return HsvToRgb(360.0 * Phase(tMs, COLORLOOP_PERIOD_MS), 1.0, 1.0);
    case MODE_AUTO: {
        // The firmware chooses; shown as a soft white ripple from the centre.
        const double dx = xFrac - 0.5, dy = (yFrac - 0.5) * 0.4;
        const double dist = std::sqrt(dx * dx + dy * dy);
        const double wave = 0.5 + 0.5 * std::cos(2 * PI * (dist * 2 - Phase(tMs, BREATH_PERIOD_MS)));
        return Scale(RGB(255, 250, 235), 0.35 + 0.65 * wave);
    }
    default: return RGB(0, 0, 0);
    }
}

bool Backlight::IsAnimated(BYTE byMode)
{
    return byMode == MODE_AUTO || byMode == MODE_RAINBOW || byMode == MODE_BREATH || byMode == MODE_COLORLOOP;
}

void Backlight::ModeName(BYTE byMode, char* pszOut, size_t cchOut)
{
    static const char* const NAMES[] = {"Auto", "On", "RainBow", "Breath", "ColorLoop"};
    if (byMode < sizeof(NAMES) / sizeof(NAMES[0]))
        std::snprintf(pszOut, cchOut, "%s", NAMES[byMode]);
    else
        std::snprintf(pszOut, cchOut, "unknown (0x%02X): light off", byMode);
}
