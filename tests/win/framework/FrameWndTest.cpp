// The frame: commands routed to the view first, enabling queries applied to the real menu, and
// notifications reflected to the control's object.

#include <gtest/gtest.h>

#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/ListCtrl.h"
#include "res/resource.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr UINT ID_VIEW_ONLY = 32816;  // Activate Item(s): handled by the view
constexpr UINT ID_BOTH = 32808;       // Preview Item: view and frame; the view must win
constexpr UINT ID_FRAME_ONLY = 32781; // Enable Docking: handled by the frame
constexpr UINT ID_NOBODY = 32850;     // Clear Bookmarks: nobody

// Who handled what, in order: "view 32808", "frame 32781", ...
std::vector<std::wstring> g_arrLog;

// The view: a report list control (a SysListView32) with our object behind it.
class CTestView : public CWnd {
public:
    bool m_bEnablePreview = false;
    std::vector<UINT> m_arrReflected; // notification codes that reached the view
    std::vector<UINT> m_arrAsked;     // commands the view was asked about

    bool OnCommand(UINT nId) override {
        m_arrAsked.push_back(nId);
        if (nId != ID_VIEW_ONLY && nId != ID_BOTH) {
            return false;
        }
        g_arrLog.push_back(L"view " + std::to_wstring(nId));
        return true;
    }
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override {
        if (nId != ID_BOTH && nId != ID_VIEW_ONLY) {
            return false;
        }
        ui.Enable(nId == ID_BOTH && m_bEnablePreview);
        return true;
    }

protected:
    bool OnReflectedNotify(NMHDR* pnm, LRESULT* pResult) override {
        m_arrReflected.push_back(pnm->code);
        if (pnm->code != NM_RCLICK && pnm->code != static_cast<UINT>(LVN_ITEMACTIVATE)) {
            return false;
        }
        *pResult = 42;
        return true;
    }
};

class CTestFrame : public CFrameWnd {
public:
    bool m_bDocking = true;
    std::vector<UINT> m_arrNotified; // codes that reached the frame's OnNotify
    CTestView m_view;

    bool OnCommand(UINT nId) override {
        if (nId != ID_BOTH && nId != ID_FRAME_ONLY) {
            return false;
        }
        g_arrLog.push_back(L"frame " + std::to_wstring(nId));
        return true;
    }
    bool OnUpdateCommand(UINT nId, CCmdUI& ui) override {
        if (nId == ID_FRAME_ONLY) {
            ui.SetCheck(m_bDocking);
        } else if (nId == ID_BOTH || nId == ID_VIEW_ONLY) {
            ui.Enable(true); // would enable, if it were asked
        }
        return nId == ID_FRAME_ONLY || nId == ID_BOTH || nId == ID_VIEW_ONLY;
    }

protected:
    int OnCreate(CREATESTRUCTW* pcs) override {
        if (CFrameWnd::OnCreate(pcs) == -1 ||
            !m_view.CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 10, 10}, m_hWnd, 1)) {
            return -1;
        }
        SetActiveView(&m_view);
        return 0;
    }
    bool OnNotify(NMHDR* pnm, LRESULT* pResult) override {
        m_arrNotified.push_back(pnm->code);
        *pResult = 7;
        return pnm->code == static_cast<UINT>(NM_DBLCLK) || pnm->code == NM_RCLICK;
    }
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_arrLog.clear();
        ASSERT_TRUE(m_frame.LoadFrame(IDR_MAINFRAME, L"Frame Test"));
    }
    void TearDown() override { m_frame.DestroyWindow(); }

    LRESULT Send(UINT nMsg, WPARAM wParam, const void* pParam = nullptr) {
        return SendMessageW(m_frame.m_hWnd, nMsg, wParam, reinterpret_cast<LPARAM>(pParam));
    }
    // The state of a menu item after its pop-up opened the way the system opens it.
    UINT StateAfterOpening(int nPopup, UINT nId) {
        HMENU hPopup = GetSubMenu(GetMenu(m_frame.m_hWnd), nPopup);
        SendMessageW(m_frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), nPopup);
        return GetMenuState(hPopup, nId, MF_BYCOMMAND);
    }

    CTestFrame m_frame;
};

} // namespace

TEST_F(FrameTest, CommandsGoToTheViewFirstThenToTheFrame) {
    for (UINT nId : {ID_BOTH, ID_FRAME_ONLY, ID_VIEW_ONLY, ID_NOBODY}) {
        Send(WM_COMMAND, nId);
    }
    Send(WM_COMMAND, MAKEWPARAM(ID_FRAME_ONLY, 1)); // an accelerator takes the same road
    EXPECT_EQ(g_arrLog, (std::vector<std::wstring>{L"view 32808", L"frame 32781", L"view 32816",
                                                   L"frame 32781"}));
    EXPECT_EQ(m_frame.m_view.m_arrAsked,
              (std::vector<UINT>{ID_BOTH, ID_FRAME_ONLY, ID_VIEW_ONLY, ID_NOBODY, ID_FRAME_ONLY}));
    // A control's own notification is the frame's, not offered to the view.
    HWND hButton = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 5, 5, m_frame.m_hWnd,
                                   reinterpret_cast<HMENU>(UINT_PTR{ID_BOTH}), nullptr, nullptr);
    g_arrLog.clear();
    Send(WM_COMMAND, MAKEWPARAM(ID_BOTH, BN_CLICKED), hButton);
    EXPECT_EQ(g_arrLog, std::vector<std::wstring>{L"frame 32808"});
}

TEST_F(FrameTest, EnablingQueriesAreAppliedToTheRealMenu) {
    EXPECT_TRUE(StateAfterOpening(1, ID_BOTH) & MF_GRAYED) << "the view's answer wins";
    EXPECT_TRUE(StateAfterOpening(1, ID_VIEW_ONLY) & MF_GRAYED);
    EXPECT_FALSE(StateAfterOpening(1, ID_NOBODY) & MF_GRAYED) << "unanswered items stay";
    m_frame.m_view.m_bEnablePreview = true;
    EXPECT_FALSE(StateAfterOpening(1, ID_BOTH) & MF_GRAYED);
    EXPECT_TRUE(StateAfterOpening(2, ID_FRAME_ONLY) & MF_CHECKED);
    m_frame.m_bDocking = false;
    EXPECT_FALSE(StateAfterOpening(2, ID_FRAME_ONLY) & MF_CHECKED);
}

TEST_F(FrameTest, NotificationsAreReflectedToTheControlsObjectFirst) {
    HWND hList = m_frame.m_view.m_hWnd;
    CListCtrl list(hList);
    const LIST_COLUMN arrColumns[] = {{L"", LVCFMT_LEFT, 50}};
    list.InsertColumns(arrColumns, 96);
    ASSERT_EQ(list.InsertItem(0, L"row"), 0);
    list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    // A real notification: Enter on the focused row makes the list send LVN_ITEMACTIVATE to its
    // parent, the frame, which hands it back to the view.
    SendMessageW(hList, WM_KEYDOWN, VK_RETURN, 0);
    auto& arrReflected = m_frame.m_view.m_arrReflected;
    EXPECT_NE(std::find(arrReflected.begin(), arrReflected.end(), UINT(LVN_ITEMACTIVATE)),
              arrReflected.end());
    // The control's answer is the parent's answer; what the control does not take goes to the
    // parent's own handler.
    m_frame.m_arrNotified.clear();
    NMHDR nm{hList, 1, NM_RCLICK};
    EXPECT_EQ(Send(WM_NOTIFY, 1, &nm), 42);
    EXPECT_TRUE(m_frame.m_arrNotified.empty()) << "taken by the control";
    nm.code = NM_DBLCLK;
    EXPECT_EQ(Send(WM_NOTIFY, 1, &nm), 7);
    EXPECT_EQ(arrReflected.back(), UINT(NM_DBLCLK)) << "offered to the control first";
    // A control that is not ours is not sent the reflected form.
    HWND hForeign = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD, 0, 0, 5, 5, m_frame.m_hWnd,
                                    nullptr, nullptr, nullptr);
    const size_t nReflected = arrReflected.size();
    NMHDR nmForeign{hForeign, 2, NM_RCLICK};
    EXPECT_EQ(Send(WM_NOTIFY, 2, &nmForeign), 7);
    EXPECT_EQ(arrReflected.size(), nReflected);
}
