// The window object: tied to its handle from the first message to the last, and the exception
// barrier.

#include <gtest/gtest.h>

#include "framework/MessageLoop.h"
#include "framework/Wnd.h"
#include "history/InvalidArgException.h"
#include "tests/support/win/MessagePump.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

using wintest::PumpUntil;

namespace {

constexpr UINT WM_TEST_THROW = WM_APP + 1;
constexpr UINT WM_TEST_PING = WM_APP + 2;

// Records what reached it; throws on request.
class CProbeWnd : public CWnd {
public:
    std::vector<UINT> m_arrSeen;
    bool m_bCreated = false, m_bPostNcDestroyed = false, m_bThrowInCreate = false;
    int m_nPings = 0;
    bool* m_pbDeleted = nullptr; // set when the object is deleted
    bool m_bDeleteItself = false;

    ~CProbeWnd() override {
        if (m_pbDeleted) {
            *m_pbDeleted = true;
        }
    }
    bool Saw(UINT nMsg) const {
        return std::find(m_arrSeen.begin(), m_arrSeen.end(), nMsg) != m_arrSeen.end();
    }
    bool Create() {
        return CreateEx(0, nullptr, L"probe", WS_OVERLAPPED, RECT{0, 0, 50, 50}, nullptr, 0);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F9) {
            throw CInvalidArgException("shortcut on a row that is gone");
        }
        return FALSE;
    }

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        m_arrSeen.push_back(nMsg);
        if (nMsg == WM_TEST_PING) {
            return ++m_nPings;
        }
        if (nMsg == WM_TEST_THROW && wParam == 1) {
            throw CInvalidArgException("index out of range");
        }
        if (nMsg == WM_TEST_THROW && wParam == 2) {
            throw std::runtime_error("something else");
        }
        if (nMsg == WM_TEST_THROW) {
            throw 42; // not even an exception class
        }
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
    int OnCreate(CREATESTRUCTW* pcs) override {
        if (m_bThrowInCreate) {
            throw std::runtime_error("creation refused");
        }
        m_bCreated = true;
        return CWnd::OnCreate(pcs);
    }
    void PostNcDestroy() override {
        m_bPostNcDestroyed = true;
        if (m_bDeleteItself) {
            delete this;
        }
    }
};

} // namespace

TEST(WndLifetime, TieLastsFromTheFirstMessageToNcDestroyThenThePointerIsCleared) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Create());
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.m_bCreated);
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    ASSERT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_arrSeen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_TRUE(wnd.m_bPostNcDestroyed);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);

    // An object that deletes itself when its window closes itself.
    bool bDeleted = false;
    auto* pSelf = new CProbeWnd;
    pSelf->m_pbDeleted = &bDeleted;
    pSelf->m_bDeleteItself = true;
    ASSERT_TRUE(pSelf->Create());
    hWnd = pSelf->m_hWnd;
    PostMessageW(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return bDeleted; }));
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);
}

TEST(WndExceptionBarrier, NothingThrownInAHandlerLeavesTheWindowOrTheLoop) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Create());
    for (WPARAM nKind : {1, 2, 3}) { // sent: the window procedure answers 0
        EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_TEST_THROW, nKind, 0), 0);
    }
    // Posted, and thrown from pre-translation: the loop goes on, the failed shortcut's key is
    // consumed.
    PostMessageW(wnd.m_hWnd, WM_TEST_THROW, 1, 0);
    PostMessageW(wnd.m_hWnd, WM_KEYDOWN, VK_F9, 0);
    PostMessageW(wnd.m_hWnd, WM_TEST_PING, 0, 0);
    PostQuitMessage(4);
    EXPECT_EQ(RunMessageLoop(), 4);
    EXPECT_EQ(wnd.m_nPings, 1);
    EXPECT_FALSE(wnd.Saw(WM_KEYDOWN));
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);

    // Thrown from OnCreate: the creation fails cleanly and the object can be used again.
    CProbeWnd failing;
    failing.m_bThrowInCreate = true;
    EXPECT_FALSE(failing.Create());
    EXPECT_EQ(failing.m_hWnd, nullptr);
    EXPECT_TRUE(failing.m_bPostNcDestroyed) << "the half-created window was destroyed";
    failing.m_bThrowInCreate = false;
    EXPECT_TRUE(failing.Create());
}
