#include "framework/Button.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/DC.h"
#include "framework/Dialog.h"
#include "tests/support/framework/FrameworkTestResources.h"

namespace
{
using Events = std::vector<std::string>;

// A button that handles its own click first, like a skinned button.
class CReflectingButton : public CButton
{
public:
    CReflectingButton(Events& events, BOOL bSwallow) : m_events(events), m_bSwallow(bSwallow) {}

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap map = MessageMap::Of<CReflectingButton>(CButton::GetThisMessageMap(), {
            OnReflectedBnClicked(&CReflectingButton::OnReflectedClick),
            OnReflectedCtlColor(&CReflectingButton::CtlColor),
        });
        return &map;
    }

    HBRUSH m_hOwnBrush = nullptr;
    UINT m_nCtlColorSeen = 0;

private:
    BOOL OnReflectedClick()
    {
        m_events.push_back("button");
        return m_bSwallow;
    }
    HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        m_nCtlColorSeen = nCtlColor;
        return m_hOwnBrush;
    }

    Events& m_events;
    BOOL m_bSwallow;
};

class COwnerDrawnButton : public CButton
{
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        m_nDrawCount++;
        CDC::FromHandle(lpDrawItemStruct->hDC)->FillSolidRect(&lpDrawItemStruct->rcItem, RGB(255, 0, 0));
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override { lpMeasureItemStruct->itemHeight = 33; }

    int m_nDrawCount = 0;
};

// The parent: records clicks and answers control colours like the program's
// dialogs, asking the framework for the default first.
class CHostDialog : public CDialog
{
public:
    explicit CHostDialog(Events& events) : m_events(events) {}

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap map = MessageMap::Of<CHostDialog>(CDialog::GetThisMessageMap(), {
            OnBnClicked(IDC_TEST_BUTTON, &CHostDialog::OnBnClickedButton),
            OnWmCtlColor(&CHostDialog::OnCtlColor),
        });
        return &map;
    }

    HBRUSH m_hDialogBrush = nullptr;

private:
    void OnBnClickedButton() { m_events.push_back("parent"); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        HBRUSH hDefault = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        return pWnd == this ? m_hDialogBrush : hDefault;
    }

    Events& m_events;
};

struct Host
{
    explicit Host(Events& events) : dialog(events) { EXPECT_TRUE(dialog.Create(IDD_TEST_CONTROLS)); }
    ~Host() { dialog.DestroyWindow(); }

    CHostDialog dialog;
};
} // namespace

TEST(Reflection, AClickReachesTheButtonFirstAndThenTheParentUnlessSwallowed)
{
    for (BOOL bSwallow : {FALSE, TRUE}) {
        SCOPED_TRACE(bSwallow ? "swallowing button" : "passing button");
        Events events;
        Host host(events);
        CReflectingButton button(events, bSwallow);
        ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, &host.dialog));

        // The button's own click, as the control reports it.
        button.SendMessage(BM_CLICK);
        EXPECT_EQ((bSwallow ? Events{"button"} : Events{"button", "parent"}), events);

        // Other notifications are not clicks.
        events.clear();
        host.dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_SETFOCUS), reinterpret_cast<LPARAM>(button.m_hWnd));
        EXPECT_TRUE(events.empty());
    }
}

TEST(Reflection, OwnerDrawAndMeasureReachTheControl)
{
    Events events;
    Host host(events);
    COwnerDrawnButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_OWNERDRAW, &host.dialog));

    host.dialog.ShowWindow(SW_SHOWNOACTIVATE);
    button.Invalidate();
    button.UpdateWindow();
    ASSERT_GE(button.m_nDrawCount, 1);
    HDC hDC = ::GetDC(button.m_hWnd);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(hDC, 2, 2));
    ::ReleaseDC(button.m_hWnd, hDC);

    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_BUTTON;
    mis.CtlID = IDC_TEST_OWNERDRAW;
    host.dialog.SendMessage(WM_MEASUREITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(33u, mis.itemHeight);
}

TEST(Reflection, ControlColoursComeFromAControlThatColoursItselfElseTheDefault)
{
    Events events;
    Host host(events);
    CReflectingButton button(events, FALSE);
    ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, &host.dialog));
    CBrush ownBrush(RGB(1, 2, 3));
    CBrush dialogBrush(RGB(4, 5, 6));
    host.dialog.m_hDialogBrush = dialogBrush;
    HDC hDC = ::GetDC(host.dialog.m_hWnd);

    // The button colours itself.
    button.m_hOwnBrush = ownBrush;
    LRESULT lBrush = host.dialog.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(ownBrush)), lBrush);
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_BTN), button.m_nCtlColorSeen);

    // A control without an answer, and an unbound control: the system's default.
    const LPARAM lStatic = reinterpret_cast<LPARAM>(::GetDlgItem(host.dialog.m_hWnd, IDC_TEST_STATIC));
    const LRESULT lDefault = ::DefDlgProcW(host.dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), lStatic);
    ASSERT_NE(0, lDefault);
    EXPECT_EQ(lDefault, host.dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), lStatic));
    button.m_hOwnBrush = nullptr;
    EXPECT_EQ(lDefault, host.dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                                reinterpret_cast<LPARAM>(button.m_hWnd)));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), button.m_nCtlColorSeen);

    // The dialog's own background is the handler's choice.
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(dialogBrush)),
              host.dialog.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(host.dialog.m_hWnd)));
    ::ReleaseDC(host.dialog.m_hWnd, hDC);
}
