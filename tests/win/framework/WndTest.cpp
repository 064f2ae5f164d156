// The window object: tie to the handle from the first message to the last, lookup of our own
// windows only, subclassing of a system control, and the exception barrier.

#include <gtest/gtest.h>

#include "framework/ListCtrl.h"
#include "framework/MessageLoop.h"
#include "framework/Wnd.h"
#include "history/InvalidArgException.h"

#include "TestPump.h"

#include <stdexcept>
#include <vector>

namespace {

constexpr UINT WM_TEST_THROW = WM_APP + 1;
constexpr UINT WM_TEST_PING = WM_APP + 2;

// Records what reached it; throws on request.
class CProbeWnd : public CWnd {
public:
    std::vector<UINT> m_arrSeen; // messages seen, in order
    bool m_bCreated = false;
    bool m_bPostNcDestroyed = false;
    bool m_bThrowInCreate = false;
    int m_nPings = 0;
    bool* m_pbDeleted = nullptr; // set when the object is deleted

    ~CProbeWnd() override {
        if (m_pbDeleted)
            *m_pbDeleted = true;
    }

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        m_arrSeen.push_back(nMsg);
        switch (nMsg) {
        case WM_TEST_THROW:
            if (wParam == 1)
                throw CInvalidArgException("index out of range");
            if (wParam == 2)
                throw std::runtime_error("something else");
            throw 42; // not even an exception class
        case WM_TEST_PING:
            return ++m_nPings;
        default:
            return CWnd::WindowProc(nMsg, wParam, lParam);
        }
    }
    int OnCreate(CREATESTRUCTW* pcs) override {
        if (m_bThrowInCreate)
            throw std::runtime_error("creation refused");
        m_bCreated = true;
        return CWnd::OnCreate(pcs);
    }
    void PostNcDestroy() override { m_bPostNcDestroyed = true; }
};

// Deletes itself when its window goes.
class CSelfDeletingWnd : public CProbeWnd {
protected:
    void PostNcDestroy() override { delete this; }
};

bool CreatePlain(CWnd& wnd, HWND hParent = nullptr) {
    DWORD dwStyle = hParent ? WS_CHILD : WS_OVERLAPPED;
    return wnd.CreateEx(0, nullptr, L"probe", dwStyle, RECT{0, 0, 50, 50}, hParent, 0);
}

bool Contains(const std::vector<UINT>& arr, UINT nMsg) {
    for (UINT n : arr)
        if (n == nMsg)
            return true;
    return false;
}

} // namespace

TEST(WndLifetime, CreationMessagesReachTheObjectAndTheTieEndsAtNcDestroy) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    HWND hWnd = wnd.m_hWnd;
    ASSERT_NE(hWnd, nullptr);
    EXPECT_TRUE(wnd.m_bCreated);
    EXPECT_TRUE(Contains(wnd.m_arrSeen, WM_NCCREATE));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);

    ASSERT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_TRUE(Contains(wnd.m_arrSeen, WM_DESTROY));
    EXPECT_EQ(wnd.m_arrSeen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_TRUE(wnd.m_bPostNcDestroyed);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);
}

TEST(WndLifetime, ObjectThatDeletesItselfInPostNcDestroy) {
    bool bDeleted = false;
    auto* pWnd = new CSelfDeletingWnd;
    pWnd->m_pbDeleted = &bDeleted;
    ASSERT_TRUE(CreatePlain(*pWnd));
    HWND hWnd = pWnd->m_hWnd;
    // Destroyed from inside its own handler, the way a window closes itself.
    PostMessageW(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return bDeleted; }));
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);
}

TEST(WndLifetime, DeletingTheObjectDestroysItsWindowAndChildren) {
    auto* pWnd = new CProbeWnd;
    ASSERT_TRUE(CreatePlain(*pWnd));
    HWND hWnd = pWnd->m_hWnd;
    CProbeWnd child;
    ASSERT_TRUE(CreatePlain(child, hWnd));
    HWND hChild = child.m_hWnd;
    delete pWnd;
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);
    // The child went with its parent and let go of its object properly.
    EXPECT_FALSE(IsWindow(hChild));
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_TRUE(child.m_bPostNcDestroyed);
}

TEST(WndLookup, FindsOnlyOurOwnWindows) {
    HWND hForeign = CreateWindowExW(0, L"STATIC", L"foreign", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hForeign, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hForeign), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(CWnd::FromHandle(GetDesktopWindow()), nullptr);

    // Once subclassed it is ours, and its own procedure still does the work.
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hForeign));
    EXPECT_FALSE(wnd.SubclassWindow(hForeign)) << "an object holds one window";
    EXPECT_EQ(CWnd::FromHandle(hForeign), &wnd);
    SetWindowTextW(hForeign, L"renamed");
    wchar_t szText[32] = {};
    GetWindowTextW(hForeign, szText, 32);
    EXPECT_STREQ(szText, L"renamed");
    EXPECT_TRUE(Contains(wnd.m_arrSeen, WM_SETTEXT));

    EXPECT_EQ(wnd.UnsubclassWindow(), hForeign);
    EXPECT_EQ(CWnd::FromHandle(hForeign), nullptr);
    size_t nSeen = wnd.m_arrSeen.size();
    SetWindowTextW(hForeign, L"again");
    EXPECT_EQ(wnd.m_arrSeen.size(), nSeen) << "no message after unsubclassing";
    DestroyWindow(hForeign);
    EXPECT_FALSE(wnd.m_bPostNcDestroyed);
}

TEST(WndLookup, SystemClassCreatedThroughCreateExGetsItsCreationMessages) {
    CProbeWnd parent;
    ASSERT_TRUE(CreatePlain(parent));
    CProbeWnd list;
    ASSERT_TRUE(list.CreateEx(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, RECT{0, 0, 40, 40},
                              parent.m_hWnd, 7));
    EXPECT_TRUE(list.m_bCreated) << "OnCreate of a SysListView32";
    EXPECT_EQ(CWnd::FromHandle(list.m_hWnd), &list);
    // The control's own procedure runs behind the object.
    EXPECT_EQ(SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(CListCtrl(list.m_hWnd).InsertColumn(0, L"column", LVCFMT_LEFT, 20), 0);
    EXPECT_EQ(CListCtrl(list.m_hWnd).GetColumnCount(), 1);
}

TEST(WndExceptionBarrier, ExceptionsInHandlersDoNotEscapeAndTheWindowGoesOn) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    // Sent (straight call of the window procedure) and posted (through the message loop).
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_TEST_THROW, 1, 0), 0);
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_TEST_THROW, 2, 0), 0);
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_TEST_THROW, 3, 0), 0);
    PostMessageW(wnd.m_hWnd, WM_TEST_THROW, 1, 0);
    PostMessageW(wnd.m_hWnd, WM_TEST_PING, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return wnd.m_nPings == 1; }));
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_TEST_PING, 0, 0), 2);
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
}

namespace {

// Runs a "shortcut" that throws from its pre-translation.
class CThrowingShortcutWnd : public CProbeWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F9)
            throw CInvalidArgException("shortcut on a row that is gone");
        return FALSE;
    }
};

} // namespace

TEST(WndExceptionBarrier, ExceptionInPreTranslateMessageDoesNotLeaveTheLoop) {
    CThrowingShortcutWnd wnd;
    ASSERT_TRUE(CreatePlain(wnd));
    PostMessageW(wnd.m_hWnd, WM_KEYDOWN, VK_F9, 0);
    PostMessageW(wnd.m_hWnd, WM_TEST_PING, 0, 0);
    PostQuitMessage(4);
    EXPECT_EQ(RunMessageLoop(), 4);
    EXPECT_EQ(wnd.m_nPings, 1);
    EXPECT_FALSE(Contains(wnd.m_arrSeen, WM_KEYDOWN)) << "a failed shortcut consumed its key";
}

TEST(WndExceptionBarrier, ExceptionInOnCreateFailsTheCreationCleanly) {
    CProbeWnd wnd;
    wnd.m_bThrowInCreate = true;
    EXPECT_FALSE(CreatePlain(wnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.m_bPostNcDestroyed) << "the half-created window was destroyed";
    // The object can be used again.
    wnd.m_bThrowInCreate = false;
    EXPECT_TRUE(CreatePlain(wnd));
}
