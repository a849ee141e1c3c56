#include "framework/Button.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/ClientDC.h"
#include "framework/Dialog.h"
#include "tests/support/framework/FrameworkTestResources.h"

namespace
{
    using Events = std::vector<std::string>;

    // A button that handles its own click first, like a skinned button.
    class CReflectingButton : public CButton
    {
    public:
        CReflectingButton(Events& events, BOOL bSwallow)
            : m_events(events),
              m_bSwallow(bSwallow)
        {}

        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CReflectingButton>(
                CButton::GetThisMessageMap(),
                {
                    OnReflectedBnClicked(&CReflectingButton::OnReflectedClick),
                }
            );
            return &map;
        }

    private:
        BOOL OnReflectedClick()
        {
            m_events.push_back("button");
            return m_bSwallow;
        }

        Events& m_events;
        BOOL m_bSwallow;
    };

    class COwnerDrawnButton : public CButton
    {
    public:
        void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
        {
            CDC::FromHandle(lpDrawItemStruct->hDC)->FillSolidRect(&lpDrawItemStruct->rcItem, RGB(255, 0, 0));
        }
        void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override { lpMeasureItemStruct->itemHeight = 33; }
    };

    // The parent: records clicks.
    class CHostDialog : public CDialog
    {
    public:
        explicit CHostDialog(Events& events)
            : m_events(events)
        {
            EXPECT_TRUE(Create(IDD_TEST_CONTROLS));
        }
        ~CHostDialog() override { DestroyWindow(); }

        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CHostDialog>(
                CDialog::GetThisMessageMap(),
                {
                    OnBnClicked(IDC_TEST_BUTTON, &CHostDialog::OnBnClickedButton),
                }
            );
            return &map;
        }

    private:
        void OnBnClickedButton() { m_events.push_back("parent"); }
        Events& m_events;
    };
}   // namespace

TEST(Reflection, AClickReachesTheButtonFirstAndThenTheParentUnlessSwallowed)
{
    for (BOOL bSwallow : {FALSE, TRUE})
    {
        SCOPED_TRACE(bSwallow ? "swallowing button" : "passing button");
        Events events;
        CHostDialog host(events);
        CReflectingButton button(events, bSwallow);
        ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, &host));
        button.SendMessage(BM_CLICK);
        EXPECT_EQ((bSwallow ? Events{"button"} : Events{"button", "parent"}), events);

        events.clear();   // other notifications are not clicks
        host.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_SETFOCUS), reinterpret_cast<LPARAM>(button.m_hWnd));
        EXPECT_TRUE(events.empty());
    }
}

TEST(Reflection, OwnerDrawAndMeasureFromTheSystemReachTheControl)
{
    Events events;
    CHostDialog host(events);
    COwnerDrawnButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_OWNERDRAW, &host));
    host.ShowWindow(SW_SHOWNOACTIVATE);
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_EQ(RGB(255, 0, 0), CClientDC(&button).GetPixel(2, 2));

    MEASUREITEMSTRUCT mis{ODT_BUTTON, IDC_TEST_OWNERDRAW, 0, 0, 0, 0};
    host.SendMessage(WM_MEASUREITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(33u, mis.itemHeight);
}
