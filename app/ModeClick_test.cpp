#include "app/ModeClick.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "controls/button/SkinButton.h"
#include "framework/Rect.h"
#include "tests/support/ec/EcTestSupport.h"

namespace
{
    constexpr const wchar_t* FILES[ModeClick::BUTTON_COUNT] = {L"03_Breath_1.ico",    L"02_Static_0.ico",
                                                               L"04_ColorLoop_0.ico", L"05_RainBow_0.ico",
                                                               L"06_Auto_0.ico",      L"01_On_0.ico"};

    SharedIcon NewIcon()
    {
        const std::vector<BYTE> andBits(32 * 4, 0x00), xorBits(32 * 4, 0xFF);
        return SharedIcon::Adopt(::CreateIcon(nullptr, 32, 32, 1, 1, andBits.data(), xorBits.data()));
    }

    // Six skinned buttons on a window, each showing an icon of its own,
    // painted (nothing left to repaint); a picture for each file.
    class ModeClickTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 100), nullptr, 0)
            );
            for (std::size_t i = 0; i < ModeClick::BUTTON_COUNT; ++i)
            {
                ASSERT_TRUE(m_buttons[i].Create(
                    "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(int(i) * 100, 0, int(i) * 100 + 90, 90), &m_parent,
                    1000 + UINT(i)
                ));
                m_buttons[i].SetIcon(NewIcon());
                m_pictures[i] = {&m_buttons[i], FILES[i]};
                m_icons[FILES[i]] = NewIcon();
            }
            m_buttons[1].SetIcon(m_icons[FILES[1]]);   // shows its new picture already
            ::ValidateRect(m_parent.m_hWnd, nullptr);
            for (const CSkinButton& button : m_buttons)
                ::ValidateRect(button.m_hWnd, nullptr);
        }

        // The icon a button shows.
        static SharedIcon Shown(CSkinButton& button)
        {
            SharedIcon icon = button.SwapIcon(SharedIcon());
            static_cast<void>(button.SwapIcon(icon));
            return icon;
        }

        static bool WaitsForRepaint(const CSkinButton& button)
        {
            return ::GetUpdateRect(button.m_hWnd, nullptr, FALSE) != FALSE;
        }

        CWnd m_parent;
        std::array<CSkinButton, ModeClick::BUTTON_COUNT> m_buttons;
        ModeClick::ButtonPicture m_pictures[ModeClick::BUTTON_COUNT] = {};
        std::map<std::wstring, SharedIcon> m_icons;
    };
}   // namespace

// Reading and decoding a picture may take seconds (a network share, a disk
// waking up); meanwhile every other program that uses the EC ports waits if
// we hold them. So each look-up comes while the ports are free and before the
// clear byte; the buttons get the pictures after the clear byte, and those
// whose picture changed are repainted after the mode byte.
TEST_F(ModeClickTest, PicturesAreLookedUpBeforeTheTurnAndShownAfterIt)
{
    auto pEc = ProbedEc(0x55, 0x70);
    std::vector<std::wstring> lookedUp;
    const auto lookUp = [&](const wchar_t* pszFile) {
        EXPECT_TRUE(PortMutexIsFree()) << "the ports are held while a picture is looked up";
        EXPECT_TRUE(NewEcOperations().empty()) << "an EC byte went out before the pictures were looked up";
        lookedUp.push_back(pszFile);
        return m_icons[pszFile];
    };

    EXPECT_EQ(ModeClick::Select(*pEc, LedMode::Breath, 1000, lookUp, m_pictures), ModeClick::Outcome::Done);
    EXPECT_EQ(lookedUp, std::vector<std::wstring>(std::begin(FILES), std::end(FILES)));
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcWrite(0xC4BD, 0x00), EcWrite(0xC4F6, 0x03)}));
    EXPECT_TRUE(PortMutexIsFree());
    for (std::size_t i = 0; i < ModeClick::BUTTON_COUNT; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(Shown(m_buttons[i]), m_icons[FILES[i]]);
        EXPECT_EQ(WaitsForRepaint(m_buttons[i]), i != 1) << "repainted though unchanged, or not though changed";
    }
}

// The mode byte that goes out is the mode the buttons show: a picture whose
// look-up fails leaves its button blank, not showing the previous mode's
// picture, and the caller learns of it to tell the user.
TEST_F(ModeClickTest, FailedLookUpBlanksItsButtonAndTheModeStillChanges)
{
    auto pEc = ProbedEc(0x54, 0x70);
    const auto lookUp = [&](const wchar_t* pszFile) {
        if (std::wstring(pszFile) == FILES[0] || std::wstring(pszFile) == FILES[3])
            throw std::bad_alloc();
        return m_icons[pszFile];
    };

    EXPECT_EQ(ModeClick::Select(*pEc, LedMode::Breath, 1000, lookUp, m_pictures), ModeClick::Outcome::PictureFailed);
    EXPECT_EQ(NewEcOperations(), (std::vector<EcOperation>{EcWrite(0x04BD, 0x00), EcWrite(0x04F6, 0x03)}));
    for (std::size_t i = 0; i < ModeClick::BUTTON_COUNT; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(Shown(m_buttons[i]), i == 0 || i == 3 ? SharedIcon() : m_icons[FILES[i]]);
    }
}
