#include "framework/Dialog.h"
#include <gtest/gtest.h>
#include <functional>
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

TEST(ModalLoop, NestedModalDisablesItsOwnerAMissingTemplateDoesNotAndQuitEndsEveryLoop)
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
