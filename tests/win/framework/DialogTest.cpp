// Dialogs and the modal bookkeeping: a modal run from a template counted as open modal while it
// runs, its keys going through pre-translation, work deferred until the last modal closes,
// modeless dialogs and their keyboard navigation in the message loop, message boxes.

#include <gtest/gtest.h>

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/MessageLoop.h"
#include "framework/ModalState.h"
#include "res/resource.h"

#include "TestIds.h"
#include "TestPump.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// Runs fnStep once from a thread timer after nDelayMs: inside a modal loop, since the modal
// loop dispatches the thread's messages.
std::function<void()> g_fnTimerStep;

void CALLBACK RunTimerStep(HWND, UINT, UINT_PTR nId, DWORD) {
    KillTimer(nullptr, nId);
    auto fn = std::move(g_fnTimerStep);
    g_fnTimerStep = nullptr;
    if (fn)
        fn();
}

UINT_PTR RunFromTimer(std::function<void()> fnStep, UINT nDelayMs = 50) {
    g_fnTimerStep = std::move(fnStep);
    return SetTimer(nullptr, 0, nDelayMs, &RunTimerStep);
}

// The about box template with a few probes.
class CProbeDialog : public CDialog {
public:
    using CDialog::CDialog;
    bool m_bInitialised = false;
    std::wstring m_strVersionAtInit;
    int m_nOk = 0;
    int m_nCancel = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        // F5 anywhere in the dialog ends it with 77: the key was seen before dispatch.
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5) {
            EndDialog(77);
            return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    BOOL OnInitDialog() override {
        m_bInitialised = true;
        wchar_t szText[32] = {};
        GetDlgItemTextW(m_hWnd, IDC_VERSION, szText, 32);
        m_strVersionAtInit = szText;
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

// A plain window that counts a message.
class CCounterWnd : public CWnd {
public:
    static constexpr UINT WM_TEST_DEFERRED = WM_APP + 10;
    int m_nDeferred = 0;
    int m_nModalDepthAtDelivery = -1;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        if (nMsg == WM_TEST_DEFERRED) {
            ++m_nDeferred;
            m_nModalDepthAtDelivery = GetModalDepth();
            return 0;
        }
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

HWND FindOurDialog(const wchar_t* pszTitle) {
    HWND hWnd = FindWindowW(L"#32770", pszTitle);
    DWORD nPid = 0;
    if (hWnd)
        GetWindowThreadProcessId(hWnd, &nPid);
    return nPid == GetCurrentProcessId() ? hWnd : nullptr;
}

} // namespace

TEST(ModalDialog, CountsAsModalWhileItRunsAndReturnsTheClosingId) {
    CCounterWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPED, RECT{0, 0, 100, 100}, nullptr, 0));
    CProbeDialog dlg(IDD_ABOUTBOX, owner.m_hWnd);
    int nDepthInside = -1;
    bool bOwnerEnabledInside = true;
    HWND hDialogSeen = nullptr;
    RunFromTimer([&] {
        nDepthInside = GetModalDepth();
        bOwnerEnabledInside = IsWindowEnabled(owner.m_hWnd) != FALSE;
        hDialogSeen = dlg.m_hWnd;
        // Work that must wait for the dialog to close.
        PostWhenModalEnds(owner.m_hWnd, CCounterWnd::WM_TEST_DEFERRED);
        PostMessageW(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    });

    EXPECT_EQ(GetModalDepth(), 0);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(nDepthInside, 1);
    EXPECT_FALSE(bOwnerEnabledInside) << "the owner is disabled during the modal run";
    EXPECT_NE(hDialogSeen, nullptr);
    EXPECT_TRUE(dlg.m_bInitialised);
    EXPECT_EQ(dlg.m_strVersionAtInit, L"1.0.0.0");
    EXPECT_EQ(dlg.m_nOk, 1);

    EXPECT_EQ(GetModalDepth(), 0);
    EXPECT_FALSE(IsModalLoopActive());
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(hDialogSeen));
    // The deferred message arrives now, after the dialog, with no modal open.
    EXPECT_EQ(owner.m_nDeferred, 0) << "posted, not called from inside the closing dialog";
    EXPECT_TRUE(PumpUntil([&] { return owner.m_nDeferred == 1; }));
    EXPECT_EQ(owner.m_nModalDepthAtDelivery, 0);
    // With nothing open it is posted at once.
    PostWhenModalEnds(owner.m_hWnd, CCounterWnd::WM_TEST_DEFERRED);
    EXPECT_TRUE(PumpUntil([&] { return owner.m_nDeferred == 2; }));
}

TEST(ModalDialog, KeysGoThroughPreTranslationOfTheDialogAndItsControls) {
    // Esc on the OK button: the dialog's keyboard handling makes it Cancel.
    {
        CProbeDialog dlg(IDD_ABOUTBOX);
        RunFromTimer([&] { PostMessageW(dlg.GetDlgItem(IDOK), WM_KEYDOWN, VK_ESCAPE, 0); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_nCancel, 1);
    }
    // A key for a control reaches the dialog's own PreTranslateMessage (child to parent).
    {
        CProbeDialog dlg(IDD_ABOUTBOX);
        RunFromTimer([&] { PostMessageW(dlg.GetDlgItem(IDOK), WM_KEYDOWN, VK_F5, 0); });
        EXPECT_EQ(dlg.DoModal(), 77);
    }
    EXPECT_EQ(GetModalDepth(), 0);
}

TEST(ModalDialog, NestedModalBoxesAreCountedAndDeferredWorkWaitsForTheLast) {
    CCounterWnd target;
    ASSERT_TRUE(
        target.CreateEx(0, nullptr, L"target", WS_OVERLAPPED, RECT{0, 0, 10, 10}, nullptr, 0));
    int nDepthInBox = -1;
    std::wstring strCaption;
    static std::function<int(const wchar_t*)> s_fnBox; // the replaced box's behaviour
    s_fnBox = [&](const wchar_t* pszCaption) {
        nDepthInBox = GetModalDepth();
        strCaption = pszCaption;
        PostWhenModalEnds(target.m_hWnd, CCounterWnd::WM_TEST_DEFERRED);
        return IDYES;
    };
    MessageBoxFunction pfnPrevious = SetMessageBoxFunction(
        [](HWND, const wchar_t*, const wchar_t* pszCaption, UINT) { return s_fnBox(pszCaption); });

    CProbeDialog dlg(IDD_ABOUTBOX);
    int nAnswer = 0;
    RunFromTimer([&] {
        nAnswer = KorvexMessageBox(dlg.m_hWnd, L"Are you sure?", MB_YESNO | MB_ICONQUESTION);
        // The box is closed, the dialog is still open: nothing delivered yet.
        PumpPending();
        EXPECT_EQ(target.m_nDeferred, 0);
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    SetMessageBoxFunction(pfnPrevious);

    EXPECT_EQ(nAnswer, IDYES);
    EXPECT_EQ(nDepthInBox, 2);
    EXPECT_EQ(strCaption, L"Korvex");
    EXPECT_TRUE(PumpUntil([&] { return target.m_nDeferred == 1; }));
    EXPECT_EQ(target.m_nModalDepthAtDelivery, 0);
}

TEST(ModalDialog, RealMessageBoxIsCaptionedKorvexAndCounted) {
    int nDepthInside = -1;
    HWND hBox = nullptr;
    // The box's own loop dispatches our thread timer; it closes the box.
    RunFromTimer(
        [&] {
            nDepthInside = GetModalDepth();
            hBox = FindOurDialog(L"Korvex");
            if (hBox)
                PostMessageW(hBox, WM_COMMAND, IDOK, 0);
            else
                PostQuitMessage(3); // ends the box's loop so that the test fails instead of hanging
        },
        200);
    int nAnswer = KorvexMessageBox(nullptr, L"Probe", MB_OK | MB_ICONINFORMATION);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_NE(hBox, nullptr);
    EXPECT_EQ(nAnswer, IDOK);
    EXPECT_EQ(nDepthInside, 1);
    EXPECT_EQ(GetModalDepth(), 0);
}

TEST(ModelessDialog, CreatedFromATemplateAndDrivenByTheMessageLoop) {
    CProbeDialog dlg(IDD_TEST_MODELESS);
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND hDlg = dlg.m_hWnd;
    ASSERT_NE(hDlg, nullptr);
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_TRUE(dlg.m_bInitialised);
    EXPECT_TRUE(IsWindowVisible(hDlg));
    EXPECT_EQ(CWnd::FromHandle(hDlg), &dlg);
    EXPECT_EQ(GetModalDepth(), 0) << "modeless dialogs are not modal";
    HWND hEdit = dlg.GetDlgItem(IDC_TEST_EDIT);
    ASSERT_NE(hEdit, nullptr);

    // Esc in the edit box: the loop's dialog navigation turns it into Cancel, which destroys
    // a modeless dialog.
    PostMessageW(hEdit, WM_KEYDOWN, VK_ESCAPE, 0);
    PostQuitMessage(5);
    EXPECT_EQ(RunMessageLoop(), 5);
    EXPECT_EQ(dlg.m_nCancel, 1);
    EXPECT_FALSE(IsWindow(hDlg));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModelessDialog, EnterPressesTheDefaultButton) {
    CProbeDialog dlg(IDD_TEST_MODELESS);
    ASSERT_TRUE(dlg.Create(nullptr));
    PostMessageW(dlg.GetDlgItem(IDC_TEST_EDIT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] { return dlg.m_nOk == 1; }));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}
