#include "framework/Wnd.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include "framework/Afx.h"
#include "framework/Button.h"
#include "framework/Exceptions.h"

namespace
{
    const UINT WM_TEST_A = WM_APP + 1;
    const UINT WM_TEST_B = WM_APP + 2;
    const UINT WM_TEST_THROW = WM_APP + 3;

    // A window whose handlers say which class answered.
    class CBaseTestWnd : public CWnd
    {
    public:
        const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
        static const MessageMap* GetThisMessageMap()
        {
            static const MessageMap map = MessageMap::Of<CBaseTestWnd>(
                CWnd::GetThisMessageMap(),
                {
                    OnMessage(WM_TEST_A, &CBaseTestWnd::OnTestA),
                    OnMessage(WM_TEST_B, &CBaseTestWnd::OnTestB),
                }
            );
            return &map;
        }

        BOOL Create() { return CreateEx(0, nullptr, "test", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0); }

    protected:
        LRESULT OnTestA(WPARAM, LPARAM) { return 100; }
        LRESULT OnTestB(WPARAM, LPARAM) { return 200; }
    };

    class CDerivedTestWnd : public CBaseTestWnd
    {
    public:
        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CDerivedTestWnd>(
                CBaseTestWnd::GetThisMessageMap(),
                {
                    OnMessage(WM_TEST_A, &CDerivedTestWnd::OnTestAFirst),
                    OnMessage(WM_TEST_A, &CDerivedTestWnd::OnTestASecond),
                    OnMessage(WM_TEST_THROW, &CDerivedTestWnd::OnThrow),
                }
            );
            return &map;
        }

    protected:
        LRESULT OnTestAFirst(WPARAM, LPARAM) { return 1; }
        LRESULT OnTestASecond(WPARAM, LPARAM) { return 2; }
        LRESULT OnThrow(WPARAM wParam, LPARAM)
        {
            if (wParam == 0)
                AfxThrowInvalidArgException();
            throw std::runtime_error("handler failed");
        }
    };

    // Subclasses a system button and adds 10 to its check state.
    class CProbeButton : public CButton
    {
    public:
        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap map = MessageMap::Of<CProbeButton>(
                CButton::GetThisMessageMap(),
                {
                    OnMessage(BM_GETCHECK, &CProbeButton::OnGetCheck),
                }
            );
            return &map;
        }

    protected:
        LRESULT OnGetCheck(WPARAM, LPARAM) { return Default() + 10; }
    };
}   // namespace

TEST(MessageMap, FirstMatchWinsBaseMapsAnswerTheRestAndExceptionsStayInside)
{
    CDerivedTestWnd wnd;
    ASSERT_TRUE(wnd.Create());
    // The derived class's first entry hides its second and the base's.
    EXPECT_EQ(1, wnd.SendMessage(WM_TEST_A));
    EXPECT_EQ(200, wnd.SendMessage(WM_TEST_B));
    CBaseTestWnd base;
    ASSERT_TRUE(base.Create());
    EXPECT_EQ(100, base.SendMessage(WM_TEST_A));

    // Our own exception and a foreign one: both end in the window procedure.
    EXPECT_EQ(0, wnd.SendMessage(WM_TEST_THROW, 0));
    EXPECT_EQ(0, wnd.SendMessage(WM_TEST_THROW, 1));
}

TEST(Subclassing, DefaultReachesTheControlAndTheObjectsEndGivesItBack)
{
    CBaseTestWnd parent;
    ASSERT_TRUE(parent.Create());
    HWND hButton = ::CreateWindowExW(
        0, L"BUTTON", L"b", WS_CHILD | BS_AUTOCHECKBOX, 10, 20, 50, 20, parent.m_hWnd, reinterpret_cast<HMENU>(5),
        nullptr, nullptr
    );
    ::SendMessageW(hButton, BM_SETCHECK, BST_CHECKED, 0);
    {
        CProbeButton button;
        ASSERT_TRUE(button.SubclassDlgItem(5, &parent));
        EXPECT_EQ(BST_CHECKED + 10, button.SendMessage(BM_GETCHECK));
        EXPECT_EQ(&button, parent.GetDlgItem(5));
        CProbeButton other;
        EXPECT_FALSE(other.SubclassWindow(hButton));   // a bound window cannot be taken twice
    }
    EXPECT_TRUE(::IsWindow(hButton));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hButton));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(hButton, BM_GETCHECK, 0, 0));
}
