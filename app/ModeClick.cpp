#include "app/ModeClick.h"

#include <array>

#include "controls/button/SkinButton.h"
#include "ec/LedModeChange.h"

namespace
{
    using Icons = std::array<SharedIcon, ModeClick::BUTTON_COUNT>;

    // Inside the turn: pointers change hands, nothing else (no allocation, no
    // call into the window system, no icon destroyed). What each button
    // showed goes to shown.
    void HandOver(
        std::span<const ModeClick::ButtonPicture, ModeClick::BUTTON_COUNT> pictures, const Icons& icons, Icons& shown
    ) noexcept
    {
        for (std::size_t i = 0; i < pictures.size(); ++i)
            shown[i] = pictures[i].pButton->SwapIcon(icons[i]);
    }
}

ModeClick::Outcome ModeClick::Select(
    EcAccess& ec, LedMode mode, DWORD dwWaitLimitMs, const PictureLookup& lookUp,
    std::span<const ButtonPicture, BUTTON_COUNT> pictures
)
{
    // A look-up that fails (out of memory, say) costs its button the picture,
    // as a missing file does, not the mode change; the caller tells the user.
    Icons icons;
    bool bPictureFailed = false;
    for (std::size_t i = 0; i < pictures.size(); ++i)
    {
        try
        {
            icons[i] = lookUp(pictures[i].pszFile);
        }
        catch (...)
        {
            bPictureFailed = true;
        }
    }

    Icons shown;   // let go after the turn, with the destruction of icons no button shows any more
    {
        const LedModeChange change(ec, mode, dwWaitLimitMs);
        if (!change)
            return Outcome::PortsBusy;
        HandOver(pictures, icons, shown);
    }
    for (std::size_t i = 0; i < pictures.size(); ++i)
    {
        if (shown[i] != icons[i])
            pictures[i].pButton->Invalidate();
    }
    return bPictureFailed ? Outcome::PictureFailed : Outcome::Done;
}
