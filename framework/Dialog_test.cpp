#include "framework/Dialog.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <vector>
#include "tests/support/framework/FrameworkTestResources.h"

namespace
{
    // A dialog that runs a script when it starts.
    class CScriptedDialog : public CDialog
    {
    public:
        explicit CScriptedDialog(UINT nIDTemplate = IDD_TEST_CONTROLS, CWnd* pParentWnd = nullptr)
            : CDialog(nIDTemplate, pParentWnd)
        {}

        BOOL OnInitDialog() override
        {
            BOOL bResult = CDialog::OnInitDialog();
            if (m_onInit)
                m_onInit(*this);
            return bResult;
        }

        std::function<void(CScriptedDialog&)> m_onInit;
    };
}   // namespace

// A nested modal dialog disables its owner, one whose template is missing
// does not, and WM_QUIT ends every loop.
TEST(ModalLoop, NestedModalDisablesItsOwnerAndQuitEndsEveryLoop)
{
    CScriptedDialog outer;
    BOOL bOwnerEnabledInside = TRUE;
    outer.m_onInit = [&](CScriptedDialog& d) {
        CScriptedDialog inner(IDD_TEST_CONTROLS, &d);
        inner.m_onInit = [&](CScriptedDialog& i) {
            bOwnerEnabledInside = d.IsWindowEnabled();
            i.PostMessage(WM_KEYDOWN, VK_ESCAPE);
        };
        EXPECT_EQ(IDCANCEL, inner.DoModal());
        EXPECT_TRUE(d.IsWindowEnabled());
        CDialog missing(31999, &d);
        EXPECT_EQ(-1, missing.DoModal());
        EXPECT_TRUE(d.IsWindowEnabled());
        ::PostQuitMessage(5);   // ends this run and stays in the queue for the loops outside
    };
    EXPECT_EQ(-1, outer.DoModal());
    EXPECT_FALSE(bOwnerEnabledInside);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, msg.wParam);
}

namespace
{
    // Notes every WM_KICKIDLE; asks for two more each time the queue runs
    // empty, then posts a message once and ends at the next empty queue.
    class CIdleDialog : public CDialog
    {
    public:
        CIdleDialog()
            : CDialog(IDD_TEST_CONTROLS)
        {}

        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CIdleDialog>(
                CDialog::GetThisMessageMap(), {OnMessage(WM_KICKIDLE, &CIdleDialog::OnKickIdle)}
            );
            return &map;
        }

        std::vector<LPARAM> m_counts;
        int m_nRunsEnded = 0;
        bool m_bAllFromTheDialogLoop = true;

    private:
        LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam)
        {
            m_counts.push_back(lParam);
            m_bAllFromTheDialogLoop = m_bAllFromTheDialogLoop && wParam == MSGF_DIALOGBOX;
            if (lParam < 2)
                return TRUE;
            if (++m_nRunsEnded == 1)
                PostMessage(WM_NULL);
            else
                EndDialog(IDOK);
            return FALSE;
        }
    };
}   // namespace

// An empty queue gives the dialog idle turns until it asks for no more, and
// again after the next message.
TEST(ModalLoop, IdleTurnsUntilTheDialogAsksForNoMoreAndAfterEachMessage)
{
    CIdleDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    // Each run counts up from 0; a message of the system's own (a late paint)
    // may cut a run short, so only the runs that end are counted exactly.
    ASSERT_FALSE(dialog.m_counts.empty());
    const std::vector<LPARAM>& counts = dialog.m_counts;
    for (size_t i = 0; i < counts.size(); ++i)
    {
        EXPECT_TRUE(counts[i] == 0 || (i > 0 && counts[i] == counts[i - 1] + 1)) << "turn " << i;
        EXPECT_LE(counts[i], 2) << "a turn after a FALSE answer";
    }
    EXPECT_EQ(std::count(counts.begin(), counts.end(), 2), 2);
    EXPECT_TRUE(dialog.m_bAllFromTheDialogLoop);
}

namespace
{
    // Counts its showings and ends at the first empty queue, noting whether
    // it is visible then.
    class CStartDialog : public CDialog
    {
    public:
        CStartDialog(UINT nIDTemplate, bool bShownAtStart)
            : CDialog(nIDTemplate),
              m_bShownAtStart(bShownAtStart)
        {}

        bool IsShownAtStart() const override { return m_bShownAtStart; }

        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CStartDialog>(
                CDialog::GetThisMessageMap(),
                {
                    OnMessage(WM_WINDOWPOSCHANGED, &CStartDialog::OnWindowPosChanged),
                    OnMessage(WM_KICKIDLE, &CStartDialog::OnKickIdle),
                }
            );
            return &map;
        }

        int m_nShowings = 0;
        bool m_bVisibleWhenIdle = false;

    private:
        LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam)
        {
            if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
                ++m_nShowings;
            return DefWindowProc(WM_WINDOWPOSCHANGED, wParam, lParam);
        }

        LRESULT OnKickIdle(WPARAM, LPARAM)
        {
            m_bVisibleWhenIdle = IsWindowVisible() != FALSE;
            EndDialog(IDOK);
            return FALSE;
        }

        bool m_bShownAtStart;
    };
}   // namespace

// Shown once after OnInitDialog, with or without WS_VISIBLE in the template;
// a dialog that asks to start hidden is never shown, whichever template form
// (plain or extended) says WS_VISIBLE.
TEST(ModalLoop, DialogIsShownOnceAfterItsInitialisationUnlessItAsksToStartHidden)
{
    const struct
    {
        UINT nIDTemplate;
        bool bShownAtStart;
    } cases[] = {
        {IDD_TEST_CONTROLS, true},
        {IDD_TEST_VISIBLE, true},
        {IDD_TEST_VISIBLE, false},
        {IDD_TEST_VISIBLE_PLAIN, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "template " << c.nIDTemplate << (c.bShownAtStart ? " shown" : " hidden"));
        CStartDialog dialog(c.nIDTemplate, c.bShownAtStart);
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(dialog.m_nShowings, c.bShownAtStart ? 1 : 0);
        EXPECT_EQ(dialog.m_bVisibleWhenIdle, c.bShownAtStart);
    }
}
