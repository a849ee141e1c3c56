#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <span>

#include "ec/LedMode.h"
#include "framework/SharedIcon.h"

class CSkinButton;
class EcAccess;

// A click on a mode button: the keyboard light changes to the mode and the
// six buttons a mode change re-images get their pictures. What may wait for a
// disk or fail comes first, before the EC ports are taken: every picture is
// looked up (read and decoded when its file changed). The turn on the ports
// then holds the clear byte, the hand-over of the ready pictures to their
// buttons and the mode byte, nothing else, so another program that uses the
// ports waits no longer for a picture on a slow disk than for one in memory.
// The buttons are repainted, and the pictures they showed let go, after it.
namespace ModeClick
{
    // The five mode buttons and the hidden Static one.
    constexpr std::size_t BUTTON_COUNT = 6;

    // A button and the picture file it shows once the mode is selected.
    struct ButtonPicture
    {
        CSkinButton* pButton;
        const wchar_t* pszFile;
    };

    // The icon of a picture file; empty when the file is missing or no icon.
    using PictureLookup = std::function<SharedIcon(const wchar_t* pszFile)>;

    enum class Outcome
    {
        Done,
        // The mode changed, but a picture's look-up failed (it threw): that
        // button shows no picture, the others theirs, all as for the mode.
        PictureFailed,
        // The ports could not be had within the wait (another program keeps
        // them, or they cannot be shared): nothing was written and the
        // buttons show what they showed.
        PortsBusy,
    };

    // The pictures are handed over in the order given.
    Outcome Select(
        EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs, const PictureLookup& lookUp,
        std::span<const ButtonPicture, BUTTON_COUNT> pictures
    );
}
