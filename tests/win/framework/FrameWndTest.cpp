// The frame: command routing view first, enabling queries applied to the real menu, reflected
// notifications reaching the control's object, the view's layout, and the end of the loop when
// the main window goes.

#include <gtest/gtest.h>

#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/ListCtrl.h"
#include "framework/MessageLoop.h"
#include "res/resource.h"

#include "TestPump.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr UINT ID_VIEW_ONLY = 32816;  // Activate Item(s): handled by the view
constexpr UINT ID_BOTH = 32808;       // Preview Item: view and frame; the view must win
constexpr UINT ID_FRAME_ONLY = 32781; // Enable Docking: handled by the frame
constexpr UINT ID_NOBODY = 32850;     // Clear Bookmarks: nobody

// A log shared by view and frame: who handled what, in order.
std::vector<std::wstring> g_arrLog;

// The view: a report list control (a SysListView32) with our object behind it.
class CTestView : public CWnd {
public:
    bool m_bEnablePreview = false;
    std::vector<UINT> m_arrReflected; // notification codes that reached the view
    std::vector<UINT> m_arrAsked;     // commands the view was asked about

    bool Create(HWND hParent) {
        return CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, RECT{0, 0, 10, 10},
                        hParent, 1);
    }
    bool OnCommand(UINT nId) override {
        m_arrAsked.push_back(nId);
        if (nId == ID_VIEW_ONLY || nId == ID_BOTH) {
            g_arrLog.push_back(L"view " + std::to_wstring(nId));
            return true;
        }
        return false;
    }
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override {
        if (nId == ID_BOTH) {
            ui.Enable(m_bEnablePreview);
            return true;
        }
        if (nId == ID_VIEW_ONLY) {
            ui.Enable(false);
            return true;
        }
        return false;
    }

protected:
    bool OnReflectedNotify(NMHDR* pnm, LRESULT* pResult) override {
        m_arrReflected.push_back(pnm->code);
        if (pnm->code == NM_RCLICK || pnm->code == static_cast<UINT>(LVN_ITEMACTIVATE)) {
            *pResult = 42;
            return true;
        }
        return false;
    }
};

class CTestFrame : public CFrameWnd {
public:
    bool m_bDocking = true;
    std::vector<UINT> m_arrNotified; // codes that reached the frame's OnNotify
    CTestView m_view;

    bool OnCommand(UINT nId) override {
        if (nId == ID_BOTH || nId == ID_FRAME_ONLY) {
            g_arrLog.push_back(L"frame " + std::to_wstring(nId));
            return true;
        }
        return false;
    }
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override {
        if (nId == ID_FRAME_ONLY) {
            ui.SetCheck(m_bDocking);
            return true;
        }
        if (nId == ID_BOTH || nId == ID_VIEW_ONLY) { // would enable, if it were asked
            ui.Enable(true);
            return true;
        }
        return false;
    }

protected:
    int OnCreate(CREATESTRUCTW* pcs) override {
        if (CFrameWnd::OnCreate(pcs) == -1 || !m_view.Create(m_hWnd))
            return -1;
        SetActiveView(&m_view);
        return 0;
    }
    bool OnNotify(NMHDR* pnm, LRESULT* pResult) override {
        m_arrNotified.push_back(pnm->code);
        if (pnm->code != static_cast<UINT>(NM_DBLCLK) && pnm->code != static_cast<UINT>(NM_RCLICK))
            return false;
        *pResult = 7;
        return true;
    }
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_arrLog.clear();
        ASSERT_TRUE(m_frame.LoadFrame(IDR_MAINFRAME, L"Frame Test"));
    }
    void TearDown() override { m_frame.DestroyWindow(); }

    void SendMenuCommand(UINT nId) { SendMessageW(m_frame.m_hWnd, WM_COMMAND, nId, 0); }
    UINT StateOf(UINT nId) { return GetMenuState(GetMenu(m_frame.m_hWnd), nId, MF_BYCOMMAND); }
    // Opens a pop-up of the menu bar the way the system does before showing it.
    void InitPopup(int nPos) {
        HMENU hPopup = GetSubMenu(GetMenu(m_frame.m_hWnd), nPos);
        SendMessageW(m_frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), nPos);
    }

    CTestFrame m_frame;
};

} // namespace

TEST_F(FrameTest, CommandsGoToTheViewFirstThenToTheFrame) {
    SendMenuCommand(ID_BOTH);
    SendMenuCommand(ID_FRAME_ONLY);
    SendMenuCommand(ID_VIEW_ONLY);
    SendMenuCommand(ID_NOBODY);
    // Accelerator commands (code 1) take the same road.
    SendMessageW(m_frame.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FRAME_ONLY, 1), 0);
    std::vector<std::wstring> arrExpected = {L"view 32808", L"frame 32781", L"view 32816",
                                             L"frame 32781"};
    EXPECT_EQ(g_arrLog, arrExpected);
    // The view was asked about everything, the frame's own commands included.
    std::vector<UINT> arrAsked = {ID_BOTH, ID_FRAME_ONLY, ID_VIEW_ONLY, ID_NOBODY, ID_FRAME_ONLY};
    EXPECT_EQ(m_frame.m_view.m_arrAsked, arrAsked);
}

TEST_F(FrameTest, ControlNotificationsAreNotOfferedToTheView) {
    HWND hButton = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 5, 5, m_frame.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_BOTH)),
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hButton, nullptr);
    SendMessageW(m_frame.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_BOTH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hButton));
    std::vector<std::wstring> arrExpected = {L"frame 32808"};
    EXPECT_EQ(g_arrLog, arrExpected);
    EXPECT_TRUE(m_frame.m_view.m_arrAsked.empty());
}

TEST_F(FrameTest, EnablingQueriesAreAppliedToTheRealMenu) {
    InitPopup(1); // "&Edit"
    EXPECT_TRUE(StateOf(ID_BOTH) & MF_GRAYED) << "the view's answer wins over the frame's";
    EXPECT_TRUE(StateOf(ID_VIEW_ONLY) & MF_GRAYED);
    EXPECT_FALSE(StateOf(ID_NOBODY) & MF_GRAYED) << "unanswered items stay as they are";

    m_frame.m_view.m_bEnablePreview = true;
    InitPopup(1);
    EXPECT_FALSE(StateOf(ID_BOTH) & MF_GRAYED);

    InitPopup(2); // "&View"
    EXPECT_TRUE(StateOf(ID_FRAME_ONLY) & MF_CHECKED);
    m_frame.m_bDocking = false;
    InitPopup(2);
    EXPECT_FALSE(StateOf(ID_FRAME_ONLY) & MF_CHECKED);
}

TEST_F(FrameTest, ControlNotificationsAreReflectedToTheControlsObject) {
    HWND hList = m_frame.m_view.m_hWnd;
    CListCtrl(hList).InsertColumn(0, L"", LVCFMT_LEFT, 50);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"row");
    ASSERT_EQ(ListView_InsertItem(hList, &item), 0);
    ListView_SetItemState(hList, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);

    // A real notification: Enter on the focused row makes the list send LVN_ITEMACTIVATE to
    // its parent, the frame, which hands it back to the view.
    SendMessageW(hList, WM_KEYDOWN, VK_RETURN, 0);
    auto& arrReflected = m_frame.m_view.m_arrReflected;
    EXPECT_NE(
        std::find(arrReflected.begin(), arrReflected.end(), static_cast<UINT>(LVN_ITEMACTIVATE)),
        arrReflected.end());

    // The control's answer is the parent's answer; what the control does not take goes to the
    // parent's own handler.
    size_t nNotified = m_frame.m_arrNotified.size();
    NMHDR nm{hList, 1, static_cast<UINT>(NM_RCLICK)};
    EXPECT_EQ(SendMessageW(m_frame.m_hWnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm)), 42);
    EXPECT_EQ(m_frame.m_arrNotified.size(), nNotified) << "taken by the control";
    nm.code = NM_DBLCLK;
    EXPECT_EQ(SendMessageW(m_frame.m_hWnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm)), 7);
    EXPECT_EQ(m_frame.m_arrNotified.back(), static_cast<UINT>(NM_DBLCLK));
    EXPECT_EQ(arrReflected.back(), static_cast<UINT>(NM_DBLCLK)) << "offered to the control first";

    // A control that is not ours is not sent the reflected form.
    HWND hForeign = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD, 0, 0, 5, 5, m_frame.m_hWnd,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    size_t nReflected = arrReflected.size();
    NMHDR nmForeign{hForeign, 2, static_cast<UINT>(NM_RCLICK)};
    EXPECT_EQ(SendMessageW(m_frame.m_hWnd, WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&nmForeign)), 7);
    EXPECT_EQ(arrReflected.size(), nReflected);
}

TEST_F(FrameTest, TheViewFillsTheClientArea) {
    SetWindowPos(m_frame.m_hWnd, nullptr, 0, 0, 300, 240, SWP_NOZORDER | SWP_NOMOVE);
    RECT rcClient{}, rcView{};
    GetClientRect(m_frame.m_hWnd, &rcClient);
    GetWindowRect(m_frame.m_view.m_hWnd, &rcView);
    EXPECT_EQ(rcView.right - rcView.left, rcClient.right);
    EXPECT_EQ(rcView.bottom - rcView.top, rcClient.bottom);
    EXPECT_GT(rcClient.right, 100);
}

TEST_F(FrameTest, FrameHasTheMenuAndIconOfItsResource) {
    HMENU hMenu = GetMenu(m_frame.m_hWnd);
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(hMenu), 4);
    EXPECT_NE(SendMessageW(m_frame.m_hWnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(m_frame.m_hWnd, WM_GETICON, ICON_SMALL, 0), 0);
}

namespace {

// A window class whose own procedure notes every WM_COMMAND it is given.
std::vector<HWND> g_arrCommandTargets;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_COMMAND)
        g_arrCommandTargets.push_back(hWnd);
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

// A view that passes commands it does not know on to its class's procedure.
class CPassingView : public CWnd {
public:
    bool OnCommand(UINT) override {
        Default();
        return true;
    }
};

} // namespace

TEST(CommandRouting, DefaultInARoutedCommandDoesNotReachTheViewsClassWithTheFramesMessage) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FrameworkTestRecorder";
    RegisterClassW(&wc);
    g_arrCommandTargets.clear();

    CFrameWnd frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, L"Routing Test"));
    CPassingView view;
    ASSERT_TRUE(view.CreateEx(0, L"FrameworkTestRecorder", L"", WS_CHILD, RECT{0, 0, 5, 5},
                              frame.m_hWnd, 1));
    frame.SetActiveView(&view);
    SendMessageW(frame.m_hWnd, WM_COMMAND, ID_NOBODY, 0);
    EXPECT_TRUE(g_arrCommandTargets.empty());
    // Its own WM_COMMAND does reach its class.
    SendMessageW(view.m_hWnd, WM_COMMAND, ID_NOBODY, 0);
    EXPECT_EQ(g_arrCommandTargets, (std::vector<HWND>{view.m_hWnd}));
    frame.SetActiveView(nullptr);
    frame.DestroyWindow();
}

TEST(MainWindow, DestroyingTheMainWindowEndsTheMessageLoop) {
    CTestFrame frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, L"Main Window Test"));
    CWnd::SetMainWindow(&frame);
    EXPECT_EQ(CWnd::GetMainWindow(), &frame);
    PostMessageW(frame.m_hWnd, WM_CLOSE, 0, 0); // the default close destroys the window
    // A safety net: a loop that does not end on its own ends with 99 after a while.
    UINT_PTR nTimer =
        SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
    EXPECT_EQ(RunMessageLoop(), 0);
    KillTimer(nullptr, nTimer);
    EXPECT_EQ(frame.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::GetMainWindow(), nullptr);
}
