// The clipboard viewer chain as the main frame stands in it: passing both chain messages on,
// repairing the chain, and surviving a hung or looping neighbour.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <chrono>
#include <thread>
#include <vector>

#include "app/ClipboardViewerChain.h"

namespace {

// A window that stands in the chain through a CClipboardViewerChain and counts the changes it
// was told to read.
struct ChainWindow {
    CClipboardViewerChain oChain;
    int nReads = 0;
    HWND hWnd = nullptr;
};

// A neighbour in the chain: records what reaches it and, if hWndLoopTo is set, sends chain
// messages back to that window, as a member of a broken (looping) chain would.
struct Neighbour {
    HWND hWnd = nullptr;
    HWND hWndNext = nullptr; // what SetClipboardViewer gave it
    HWND hWndLoopTo = nullptr;
    int nDraws = 0;
    std::vector<std::pair<HWND, HWND>> changes;
};

LRESULT CALLBACK ChainWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pWindow = reinterpret_cast<ChainWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pWindow != nullptr) {
        if (nMsg == WM_DRAWCLIPBOARD) {
            if (pWindow->oChain.OnDrawClipboard()) {
                ++pWindow->nReads;
            }
            return 0;
        }
        if (nMsg == WM_CHANGECBCHAIN) {
            pWindow->oChain.OnChangeCbChain(reinterpret_cast<HWND>(wParam),
                                            reinterpret_cast<HWND>(lParam));
            return 0;
        }
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK NeighbourProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pNeighbour = reinterpret_cast<Neighbour*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pNeighbour != nullptr) {
        if (nMsg == WM_DRAWCLIPBOARD) {
            ++pNeighbour->nDraws;
            if (pNeighbour->hWndLoopTo != nullptr) {
                SendMessageW(pNeighbour->hWndLoopTo, nMsg, wParam, lParam);
            }
            return 0;
        }
        if (nMsg == WM_CHANGECBCHAIN) {
            pNeighbour->changes.emplace_back(reinterpret_cast<HWND>(wParam),
                                             reinterpret_cast<HWND>(lParam));
            if (pNeighbour->hWndLoopTo != nullptr) {
                SendMessageW(pNeighbour->hWndLoopTo, nMsg, wParam, lParam);
            }
            return 0;
        }
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

HWND MakeWindow(const wchar_t* pszClass, WNDPROC pfnProc, void* pData) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = pszClass;
    RegisterClassW(&wc); // a second registration of the same class fails harmlessly
    HWND hWnd = CreateWindowExW(0, pszClass, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pData));
    return hWnd;
}

class ClipboardViewerChainTest : public testing::Test {
protected:
    void SetUp() override {
        m_window.hWnd = MakeWindow(L"KorvexChainTestWindow", ChainWindowProc, &m_window);
        ASSERT_NE(m_window.hWnd, nullptr);
        m_window.oChain.SetWindow(m_window.hWnd);
    }
    void TearDown() override {
        m_window.oChain.Leave();
        // Neighbours leave in reverse order of joining, so each finds its link intact.
        for (auto it = m_neighbours.rbegin(); it != m_neighbours.rend(); ++it) {
            (*it)->hWndLoopTo = nullptr;
            ChangeClipboardChain((*it)->hWnd, (*it)->hWndNext);
            DestroyWindow((*it)->hWnd);
        }
        DestroyWindow(m_window.hWnd);
    }

    // A neighbour joins the chain at its head (so the next Join of ours puts it after us).
    Neighbour& AddNeighbour() {
        m_neighbours.push_back(std::make_unique<Neighbour>());
        Neighbour& n = *m_neighbours.back();
        n.hWnd = MakeWindow(L"KorvexChainTestNeighbour", NeighbourProc, &n);
        n.hWndNext = SetClipboardViewer(n.hWnd);
        return n;
    }

    ChainWindow m_window;
    std::vector<std::unique_ptr<Neighbour>> m_neighbours;
};

} // namespace

TEST_F(ClipboardViewerChainTest, JoinDropsItsOwnNotificationAndPassesChangesOnBeforeReading) {
    Neighbour& next = AddNeighbour();
    next.nDraws = 0; // the system told it of its own join
    m_window.oChain.Join();
    EXPECT_EQ(m_window.oChain.GetNextViewer(), next.hWnd);
    EXPECT_TRUE(m_window.oChain.IsInChain());
    // The system told us synchronously while we joined: nothing read, nothing passed on.
    EXPECT_EQ(m_window.nReads, 0);
    EXPECT_EQ(next.nDraws, 0);

    SendMessageW(m_window.hWnd, WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(m_window.nReads, 1);
    EXPECT_EQ(next.nDraws, 1);

    // A re-join takes us out and puts us back at the head, after the same neighbour, and
    // tells nobody of a change.
    m_window.oChain.Join();
    EXPECT_EQ(m_window.oChain.GetNextViewer(), next.hWnd);
    EXPECT_EQ(GetClipboardViewer(), m_window.hWnd);
    EXPECT_EQ(m_window.nReads, 1);
    EXPECT_EQ(next.nDraws, 1);
}

TEST_F(ClipboardViewerChainTest, ANeighbourLeavingIsRepairedAndToldOn) {
    Neighbour& last = AddNeighbour();
    Neighbour& middle = AddNeighbour();
    m_window.oChain.Join();
    ASSERT_EQ(m_window.oChain.GetNextViewer(), middle.hWnd);
    last.changes.clear();

    // The middle member leaves: the system tells the head (us), which links past it.
    ChangeClipboardChain(middle.hWnd, middle.hWndNext);
    EXPECT_EQ(m_window.oChain.GetNextViewer(), last.hWnd);
    ASSERT_EQ(last.changes.size(), 1u);
    EXPECT_EQ(last.changes[0].first, middle.hWnd);
    EXPECT_EQ(last.changes[0].second, last.hWnd);
    middle.hWndNext = nullptr;

    // A chain that would lead back to us ends here, and nothing is sent.
    m_window.oChain.OnChangeCbChain(last.hWnd, m_window.hWnd);
    EXPECT_EQ(m_window.oChain.GetNextViewer(), nullptr);
    EXPECT_EQ(last.changes.size(), 1u);
}

TEST_F(ClipboardViewerChainTest, AChainThatLoopsBackEndsAfterOneRound) {
    Neighbour& next = AddNeighbour();
    next.hWndLoopTo = m_window.hWnd;
    m_window.oChain.Join();
    ASSERT_EQ(m_window.oChain.GetNextViewer(), next.hWnd);
    next.nDraws = 0;
    next.changes.clear();

    SendMessageW(m_window.hWnd, WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(next.nDraws, 1);
    EXPECT_EQ(m_window.nReads, 1);

    const HWND hWndOther = reinterpret_cast<HWND>(0x1234);
    m_window.oChain.OnChangeCbChain(hWndOther, nullptr);
    EXPECT_EQ(next.changes.size(), 1u);
    EXPECT_EQ(m_window.oChain.GetNextViewer(), next.hWnd);
}

namespace {

// A chain member on its own thread that joins when told and then stops handling messages, as a
// hung program does, until released.
class CHungMember {
public:
    CHungMember()
        : m_hJoin(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_hJoined(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_hRelease(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_hDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_thread([this] { Run(); }) {}
    ~CHungMember() {
        Release();
        CloseHandle(m_hJoin);
        CloseHandle(m_hJoined);
        CloseHandle(m_hRelease);
        CloseHandle(m_hDone);
    }
    // Joins the chain (at its head) and hangs; returns its window.
    HWND JoinAndHang() {
        SetEvent(m_hJoin);
        EXPECT_EQ(WaitForSingleObject(m_hJoined, 10000), WAIT_OBJECT_0);
        return m_hWnd;
    }
    // Lets it answer again, leave the chain and end, while this thread keeps handling the
    // messages the system sends it meanwhile.
    void Release() {
        if (!m_thread.joinable()) {
            return;
        }
        SetEvent(m_hJoin);
        SetEvent(m_hRelease);
        const ULONGLONG nDeadline = GetTickCount64() + 10000;
        while (GetTickCount64() < nDeadline &&
               MsgWaitForMultipleObjects(1, &m_hDone, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&msg);
            }
        }
        m_thread.join();
    }

private:
    void Run() {
        WaitForSingleObject(m_hJoin, INFINITE);
        HWND hWnd = MakeWindow(L"KorvexChainTestHung", DefWindowProcW, nullptr);
        HWND hWndNext = SetClipboardViewer(hWnd);
        m_hWnd = hWnd;
        // It has just handled its messages, so the system does not count it as hung yet: only
        // the timeout of the sender protects against it.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        SetEvent(m_hJoined);
        WaitForSingleObject(m_hRelease, INFINITE);
        ChangeClipboardChain(hWnd, hWndNext);
        DestroyWindow(hWnd);
        SetEvent(m_hDone);
    }

    HANDLE m_hJoin;
    HANDLE m_hJoined;
    HANDLE m_hRelease;
    HANDLE m_hDone;
    HWND m_hWnd = nullptr;
    std::thread m_thread;
};

long long MillisecondsSince(std::chrono::steady_clock::time_point tStart) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 tStart)
        .count();
}

} // namespace

TEST_F(ClipboardViewerChainTest, AHungNextViewerDoesNotHangUs) {
    CHungMember hung;
    const HWND hWndHung = hung.JoinAndHang();
    m_window.oChain.Join();
    EXPECT_EQ(m_window.oChain.GetNextViewer(), hWndHung);

    const auto tStart = std::chrono::steady_clock::now();
    SendMessageW(m_window.hWnd, WM_DRAWCLIPBOARD, 0, 0);
    m_window.oChain.OnChangeCbChain(reinterpret_cast<HWND>(0x1234), nullptr);
    m_window.oChain.Leave();
    EXPECT_LT(MillisecondsSince(tStart), 2000);
    // The change was still read, after the hung viewer had its chance.
    EXPECT_EQ(m_window.nReads, 1);
    EXPECT_FALSE(m_window.oChain.IsInChain());
}

TEST_F(ClipboardViewerChainTest, AHungHeadDoesNotHangTheRejoin) {
    m_window.oChain.Join();
    CHungMember hung;
    const HWND hWndHung = hung.JoinAndHang();
    ASSERT_EQ(GetClipboardViewer(), hWndHung);

    const auto tStart = std::chrono::steady_clock::now();
    m_window.oChain.Join();
    m_window.oChain.Leave();
    EXPECT_LT(MillisecondsSince(tStart), 2000);
    // Left as it was, to try again once the head answers.
    EXPECT_TRUE(m_window.oChain.IsInChain());

    hung.Release();
    m_window.oChain.Join();
    EXPECT_EQ(GetClipboardViewer(), m_window.hWnd);
}
