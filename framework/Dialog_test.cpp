#include "framework/Dialog.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "tests/support/framework/FrameworkTestResources.h"

namespace
{
const UINT WM_TEST_PROBE = WM_APP + 11;

// A dialog that runs a script when it starts and records what happens.
class CScriptedDialog : public CDialog
{
public:
    explicit CScriptedDialog(UINT nIDTemplate = IDD_TEST_CONTROLS, CWnd* pParentWnd = nullptr)
        : CDialog(nIDTemplate, pParentWnd) {}

    BOOL OnInitDialog() override
    {
        BOOL bResult = CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return bResult;
    }

    std::function<void(CScriptedDialog&)> m_onInit;
    std::vector<std::string> m_events;

protected:
    void OnOK() override
    {
        m_events.push_back("OnOK");
        CDialog::OnOK();
    }
};

// Binds to a control and reports the order of binding and routing.
class CBindingButton : public CButton
{
public:
    explicit CBindingButton(std::vector<std::string>& events) : m_events(events) {}

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap map = MessageMap::Of<CBindingButton>(CButton::GetThisMessageMap(), {
            OnMessage(WM_TEST_PROBE, &CBindingButton::OnProbe),
        });
        return &map;
    }

protected:
    void PreSubclassWindow() override
    {
        m_events.push_back(SendMessage(WM_TEST_PROBE) == 0 ? "PreSubclassWindow (unrouted)" : "PreSubclassWindow (routed)");
        CButton::PreSubclassWindow();
    }

private:
    LRESULT OnProbe(WPARAM, LPARAM) { return 1; }
    std::vector<std::string>& m_events;
};

class CExchangeDialog : public CScriptedDialog
{
public:
    CBindingButton m_btn{m_events};
    std::string m_strText = "hello";

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CScriptedDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TEST_BUTTON, m_btn);
        DDX_Text(pDX, IDC_TEST_EDIT, m_strText);
    }
};
} // namespace

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

TEST(DataExchange, BindsControlsOnceCallingPreSubclassWindowFirstAndExchangesText)
{
    CExchangeDialog dlg;
    std::string strEditAtStart;
    dlg.m_onInit = [&](CScriptedDialog& d) {
        auto& self = static_cast<CExchangeDialog&>(d);
        HWND hButton = ::GetDlgItem(d.m_hWnd, IDC_TEST_BUTTON);
        EXPECT_EQ(hButton, self.m_btn.m_hWnd);
        EXPECT_EQ(&self.m_btn, CWnd::FromHandle(hButton));
        self.m_events.push_back(self.m_btn.SendMessage(WM_TEST_PROBE) == 1 ? "routed" : "unrouted");
        strEditAtStart = d.GetDlgItem(IDC_TEST_EDIT)->GetWindowText();
        // Another pass leaves the binding alone.
        EXPECT_TRUE(d.UpdateData(FALSE));
        ::SetDlgItemTextA(d.m_hWnd, IDC_TEST_EDIT, "world");
        d.PostMessage(WM_KEYDOWN, VK_RETURN);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("hello", strEditAtStart);
    EXPECT_EQ("world", dlg.m_strText);
    EXPECT_EQ((std::vector<std::string>{"PreSubclassWindow (unrouted)", "routed", "OnOK"}), dlg.m_events);
    EXPECT_EQ(nullptr, dlg.m_btn.m_hWnd);   // the dialog's end unbound it
}
