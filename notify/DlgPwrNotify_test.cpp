#include "notify/DlgPwrNotify.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/notify/NotifyTestSupport.h"
#include "tests/support/notify/TestHostWindow.h"
#include "tests/support/notify/TestSkinFolder.h"
#include "res/resource.h"
#include "tests/support/PixelImage.h"

namespace
{
    CRect Desktop()
    {
        CRect rc;
        ::GetWindowRect(::GetDesktopWindow(), &rc);
        return rc;
    }

    CRect WindowRect(const CWnd& wnd)
    {
        CRect rc;
        wnd.GetWindowRect(&rc);
        return rc;
    }

    // Creates the popup the way its owner does: modeless, then level and
    // place flag, then shown without activation.
    std::unique_ptr<CDlgPwrNotify> ShowPopup(TestHostWindow& host, const TestSkinFolder& skin, int nLevel, bool bLowered)
    {
        auto pPopup = std::make_unique<CDlgPwrNotify>(skin.Path());
        EXPECT_TRUE(pPopup->Create(IDD_PWR_NOTIFY, &host));
        pPopup->m_nLevel = nLevel;
        pPopup->m_bLowered = bLowered;
        pPopup->ShowWindow(SW_SHOWNOACTIVATE);
        return pPopup;
    }

    bool HasSize(const CWnd& wnd, SIZE size)
    {
        return WindowRect(wnd).Size() == size;
    }

    std::string PwrText(const CWnd& popup)
    {
        char szText[64] = {};
        ::GetDlgItemTextA(popup, IDC_PWR_TEXT, szText, sizeof(szText));
        return szText;
    }

    void ClickTestButton(const CWnd& popup)
    {
        ::SendMessageW(popup, WM_COMMAND, MAKEWPARAM(IDC_TEST, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(popup, IDC_TEST)));
    }
}

TEST(DlgPwrNotify, PlacesItselfOnceTopmostThenEndsItsFirstShowingAndKeepsItsPlace)
{
    TestHostWindow host;
    TestSkinFolder skin({301, 201});
    auto pPopup = ShowPopup(host, skin, 2, false);

    ASSERT_TRUE(PumpUntil([&] { return HasSize(*pPopup, CSize(301, 201)); })) << "takes the level-1 picture's size";
    const CRect rcDesktop = Desktop();
    const CRect rcPlaced = WindowRect(*pPopup);
    EXPECT_EQ(rcPlaced.TopLeft(), CPoint((rcDesktop.Width() - 301) / 2, (rcDesktop.Height() - 201) / 2));
    EXPECT_TRUE(pPopup->GetExStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(PumpUntil([&] { return !pPopup->IsWindowVisible(); })) << "the first showing ends by itself";

    // Later showings are the owner's business: no new place, no hiding by itself.
    pPopup->m_bLowered = true;
    pPopup->ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_FALSE(PumpUntil([&] { return !pPopup->IsWindowVisible(); }, 2000));
    EXPECT_EQ(WindowRect(*pPopup), rcPlaced) << "the flag alone does not move it";

    // The Test button places it again, lowered by half the (odd) picture height.
    ClickTestButton(*pPopup);
    EXPECT_EQ(WindowRect(*pPopup).TopLeft(), CPoint(rcPlaced.left, rcPlaced.top + 100));
}

TEST(DlgPwrNotify, PictureWiderThanTheScreenReachesPastTheLeftEdge)
{
    TestHostWindow host;
    const CRect rcDesktop = Desktop();
    // 81 pixels wider than the screen: x = -81 / 2, truncated toward zero.
    TestSkinFolder skin({rcDesktop.Width() + 81, 100});
    auto pPopup = ShowPopup(host, skin, 3, true);

    ASSERT_TRUE(PumpUntil([&] { return HasSize(*pPopup, CSize(rcDesktop.Width() + 81, 100)); }));
    EXPECT_EQ(WindowRect(*pPopup).TopLeft(), CPoint(-40, (rcDesktop.Height() - 100) / 2 + 50));
}

TEST(DlgPwrNotify, ShownItFollowsTheLevelEvery100MsHiddenItWaits)
{
    TestHostWindow host;
    TestSkinFolder skin;
    auto pPopup = ShowPopup(host, skin, 1, false);
    ASSERT_TRUE(PumpUntil([&] { return !pPopup->IsWindowVisible(); }));
    ASSERT_EQ(PwrText(*pPopup), "PowerLevel 0x30= 1");

    // Hidden, a new level stays unseen for as long as the popup is away.
    pPopup->m_nLevel = 2;
    EXPECT_FALSE(PumpUntil([&] { return PwrText(*pPopup) != "PowerLevel 0x30= 1"; }, 500));
    pPopup->ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_EQ(PwrText(*pPopup), "PowerLevel 0x30= 2") << "shown again, it shows the level at once";

    // Levels 1 and 2 have their pictures; every other level shows the third.
    const struct
    {
        int nLevel;
        COLORREF crFace;
    } cases[] = {{1, TestSkinFolder::BLUE}, {2, TestSkinFolder::GREEN}, {3, TestSkinFolder::RED},
                 {0, TestSkinFolder::RED},  {7, TestSkinFolder::RED}};
    for (const auto& c : cases)
    {
        pPopup->m_nLevel = c.nLevel;
        const std::string strText = "PowerLevel 0x30= " + std::to_string(c.nLevel);
        EXPECT_TRUE(PumpUntil([&] { return PwrText(*pPopup) == strText; })) << "level " << c.nLevel;
        EXPECT_TRUE(PumpUntil([&] { return PixelImage::GrabClient(*pPopup).Share(c.crFace) > 0.95; }))
            << "level " << c.nLevel << " shows the wrong picture";
    }
}
