// Dialogs and the modal bookkeeping: a modal dialog counted while it runs, its keys going through
// pre-translation, work deferred until it closes, and a modeless dialog driven by the loop.

#include <gtest/gtest.h>

#include "framework/Centre.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/MessageLoop.h"
#include "framework/ModalState.h"
#include "res/resource.h"
#include "tests/support/win/MessagePump.h"

#include "TestIds.h"

#include <functional>

using wintest::PumpUntil;

namespace {

// Runs fnStep once from a thread timer: inside a modal loop, which dispatches the thread's
// messages.
std::function<void()> g_fnTimerStep;

void RunFromTimer(std::function<void()> fnStep) {
    g_fnTimerStep = std::move(fnStep);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        if (auto fn = std::exchange(g_fnTimerStep, nullptr)) {
            fn();
        }
    });
}

// A dialog from a template with a few probes. F5 anywhere in it ends it with 77: the key was
// seen by its pre-translation before dispatch.
class CProbeDialog : public CDialog {
public:
    using CDialog::CDialog;
    bool m_bInitialised = false;
    int m_nOk = 0, m_nCancel = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5) {
            EndDialog(77);
            return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    BOOL OnInitDialog() override {
        m_bInitialised = GetDlgItem(IDOK) != nullptr; // the controls exist
        return TRUE;
    }
    void OnOK() override {
        ++m_nOk;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++m_nCancel;
        CDialog::OnCancel();
    }
};

// A plain window that counts a message and notes the modal depth when it arrives.
class CDeferredTarget : public CWnd {
public:
    static constexpr UINT WM_TEST_DEFERRED = WM_APP + 10;
    int m_nDeferred = 0;
    int m_nModalDepthAtDelivery = -1;

    CDeferredTarget() {
        CreateEx(0, nullptr, L"target", WS_OVERLAPPED, RECT{0, 0, 90, 90}, nullptr, 0);
    }
    void PostWhenModalEnds() { ::PostWhenModalEnds(m_hWnd, WM_TEST_DEFERRED); }

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        if (nMsg != WM_TEST_DEFERRED) {
            return CWnd::WindowProc(nMsg, wParam, lParam);
        }
        ++m_nDeferred;
        m_nModalDepthAtDelivery = GetModalDepth();
        return 0;
    }
};

} // namespace

TEST(ModalDialog, CountsAsModalWhileItRunsAndDefersWorkUntilItEnds) {
    CDeferredTarget owner;
    CProbeDialog dlg(IDD_ABOUTBOX, owner.m_hWnd);
    int nDepthInside = -1;
    bool bOwnerEnabledInside = true;
    RunFromTimer([&] {
        nDepthInside = GetModalDepth();
        bOwnerEnabledInside = IsWindowEnabled(owner.m_hWnd) != FALSE;
        owner.PostWhenModalEnds(); // work that must wait for the dialog to close
        owner.PostWhenModalEnds(); // asked for again meanwhile: it still comes once
        PostMessageW(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.m_bInitialised);
    EXPECT_EQ(dlg.m_nOk, 1);
    EXPECT_EQ(nDepthInside, 1);
    EXPECT_FALSE(bOwnerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(GetModalDepth(), 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    // The deferred message comes now, posted rather than called from the closing dialog.
    EXPECT_EQ(owner.m_nDeferred, 0);
    EXPECT_TRUE(PumpUntil([&] { return owner.m_nDeferred == 1; }));
    EXPECT_EQ(owner.m_nModalDepthAtDelivery, 0);
    owner.PostWhenModalEnds(); // with nothing open it is posted at once
    EXPECT_TRUE(PumpUntil([&] { return owner.m_nDeferred == 2; }));

    // Keys for a control go through the dialog's own pre-translation (child to parent).
    CProbeDialog keyed(IDD_ABOUTBOX);
    RunFromTimer([&] { PostMessageW(keyed.GetDlgItem(IDOK), WM_KEYDOWN, VK_F5, 0); });
    EXPECT_EQ(keyed.DoModal(), 77);
}

TEST(Centring, OverTheOwnerWithinTheWorkAreaOrOnTheWorkArea) {
    const RECT rcWork{0, 0, 1000, 800};
    const RECT rcMiddle{200, 200, 600, 500};
    const RECT rcRightEdge{800, 100, 1000, 300};
    const struct {
        const RECT* prcOwner;
        SIZE size;
        RECT rcExpected;
    } arrCases[] = {
        {&rcMiddle, {200, 100}, {300, 300, 500, 400}},
        {&rcRightEdge, {400, 100}, {600, 150, 1000, 250}}, // pushed back into the work area
        {nullptr, {200, 100}, {400, 350, 600, 450}},       // no visible owner: the work area
        {nullptr, {1200, 900}, {0, 0, 1200, 900}},         // larger: its top-left corner stays
    };
    for (const auto& oCase : arrCases) {
        const RECT rc = CentredRect(oCase.size, oCase.prcOwner, rcWork);
        EXPECT_TRUE(EqualRect(&rc, &oCase.rcExpected))
            << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom;
    }
}

TEST(Centring, ModalDialogsAndMessageBoxesOpenOverAVisibleOwnerOrTheCursorsMonitor) {
    const HWND hOwner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 60, 80, 700,
                                        500, nullptr, nullptr, nullptr, nullptr);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTOPRIMARY), &mi));
    SetCursorPos(mi.rcWork.left + 5, mi.rcWork.top + 5);
    for (const bool bVisible : {true, false}) {
        ShowWindow(hOwner, bVisible ? SW_SHOWNA : SW_HIDE);
        RECT rcOver = mi.rcWork;
        if (bVisible) {
            GetWindowRect(hOwner, &rcOver);
        }
        for (const bool bMessageBox : {false, true}) {
            SCOPED_TRACE(std::string(bVisible ? "visible" : "hidden") + " owner, " +
                         (bMessageBox ? "message box" : "dialog"));
            RECT rcShown{};
            RunFromTimer([&] {
                struct FIND {
                    HWND hOwner, hBox;
                } find{hOwner, nullptr};
                EnumThreadWindows(
                    GetCurrentThreadId(),
                    [](HWND hWnd, LPARAM lParam) {
                        auto* p = reinterpret_cast<FIND*>(lParam);
                        if (GetWindow(hWnd, GW_OWNER) == p->hOwner && IsWindowVisible(hWnd)) {
                            p->hBox = hWnd;
                        }
                        return p->hBox == nullptr ? TRUE : FALSE;
                    },
                    reinterpret_cast<LPARAM>(&find));
                GetWindowRect(find.hBox, &rcShown);
                // Ends the box; if none was found, the modal loop ends at the posted quit.
                if (find.hBox != nullptr) {
                    PostMessageW(find.hBox, WM_COMMAND, IDOK, 0);
                } else {
                    PostQuitMessage(0);
                }
            });
            if (bMessageBox) {
                KorvexMessageBox(hOwner, L"centred?", MB_OK);
            } else {
                CProbeDialog dlg(IDD_ABOUTBOX, hOwner);
                dlg.DoModal();
            }
            ASSERT_FALSE(IsRectEmpty(&rcShown));
            EXPECT_NEAR((rcShown.left + rcShown.right) / 2, (rcOver.left + rcOver.right) / 2, 1);
            EXPECT_NEAR((rcShown.top + rcShown.bottom) / 2, (rcOver.top + rcOver.bottom) / 2, 1);
        }
    }
    DestroyWindow(hOwner);
}

TEST(ModelessDialog, FromATemplateWithKeyboardNavigationInTheMessageLoop) {
    CProbeDialog dlg(IDD_TEST_MODELESS);
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND hDlg = dlg.m_hWnd;
    EXPECT_TRUE(dlg.m_bInitialised);
    EXPECT_TRUE(IsWindowVisible(hDlg));
    EXPECT_EQ(CWnd::FromHandle(hDlg), &dlg);
    EXPECT_EQ(GetModalDepth(), 0);
    // Esc in the edit box becomes Cancel, which destroys a modeless dialog.
    PostMessageW(dlg.GetDlgItem(IDC_TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
    PostQuitMessage(5);
    EXPECT_EQ(RunMessageLoop(), 5);
    EXPECT_EQ(dlg.m_nCancel, 1);
    EXPECT_FALSE(IsWindow(hDlg));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    // Enter presses the default button.
    CProbeDialog entered(IDD_TEST_MODELESS);
    ASSERT_TRUE(entered.Create(nullptr));
    PostMessageW(entered.GetDlgItem(IDC_TEST_EDIT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] { return entered.m_nOk == 1; }));
    EXPECT_EQ(entered.m_hWnd, nullptr);
}
