// The clipboard viewer chain as the main frame stands in it: a neighbour that loops chain
// messages back or hangs must neither loop nor hang us.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/ClipboardViewerChain.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/MessagePump.h"

namespace {

// A window in the chain through CClipboardViewerChain, as the main frame is; counts the
// changes it was told to read. It leaves the chain when it goes.
struct CMember {
    CMember() { oChain.SetWindow(oWindow.Handle()); }
    ~CMember() { oChain.Leave(); }
    HWND Handle() const { return oWindow.Handle(); }

    CClipboardViewerChain oChain;
    int nReads = 0;
    wintest::CHandlerWindow oWindow{[this](UINT nMsg, WPARAM wParam,
                                           LPARAM lParam) -> std::optional<LRESULT> {
        if (nMsg == WM_DRAWCLIPBOARD) {
            nReads += oChain.OnDrawClipboard() ? 1 : 0;
            return 0;
        }
        if (nMsg == WM_CHANGECBCHAIN) {
            oChain.OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        }
        return std::nullopt;
    }};
};

// A neighbour that joins the chain at once and sends every chain message that reaches it back
// to hLoopTo, as a member of a broken (looping) chain does.
struct CLoopingNeighbour {
    ~CLoopingNeighbour() {
        hLoopTo = nullptr;
        ChangeClipboardChain(oWindow.Handle(), hNext);
    }

    HWND hLoopTo = nullptr;
    int nDraws = 0;
    int nChanges = 0;
    wintest::CHandlerWindow oWindow{
        [this](UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (nMsg != WM_DRAWCLIPBOARD && nMsg != WM_CHANGECBCHAIN) {
                return std::nullopt;
            }
            ++(nMsg == WM_DRAWCLIPBOARD ? nDraws : nChanges);
            if (hLoopTo != nullptr) {
                SendMessageW(hLoopTo, nMsg, wParam, lParam);
            }
            return 0;
        }};
    HWND hNext = SetClipboardViewer(oWindow.Handle());
};

// A member on its own thread that joins the chain at once and then stops handling messages, as
// a hung program does, until released. It has just handled its messages, so the system does not
// count it as hung: only the sender's timeout protects against it.
class CHungMember {
public:
    CHungMember() {
        wintest::PumpUntil([this] { return m_hWnd.load() != nullptr; }, 10000);
    }
    ~CHungMember() {
        Release();
        CloseHandle(m_hRelease);
    }
    HWND Handle() const { return m_hWnd; }
    // Lets it answer again, leave the chain and end, while this thread handles what the system
    // sends it meanwhile.
    void Release() {
        if (m_oThread.joinable()) {
            SetEvent(m_hRelease);
            wintest::PumpUntil([this] { return m_bDone.load(); }, 10000);
            m_oThread.join();
        }
    }

private:
    void Run() {
        HWND hWnd =
            CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        HWND hNext = SetClipboardViewer(hWnd);
        wintest::PumpPending();
        m_hWnd = hWnd;
        WaitForSingleObject(m_hRelease, 30000);
        ChangeClipboardChain(hWnd, hNext);
        DestroyWindow(hWnd);
        m_bDone = true;
    }

    HANDLE m_hRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> m_hWnd{nullptr};
    std::atomic<bool> m_bDone{false};
    std::thread m_oThread{[this] { Run(); }};
};

const HWND kOtherWindow = reinterpret_cast<HWND>(0x1234);

} // namespace

TEST(ClipboardViewerChain, AChainThatLoopsBackEndsAfterOneRound) {
    CLoopingNeighbour oNext;
    CMember oUs;
    oUs.oChain.Join();
    ASSERT_EQ(oUs.oChain.GetNextViewer(), oNext.oWindow.Handle());
    EXPECT_EQ(oUs.nReads, 0); // the notification of our own join is no change
    oNext.hLoopTo = oUs.Handle();
    oNext.nDraws = oNext.nChanges = 0;

    SendMessageW(oUs.Handle(), WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(oNext.nDraws, 1);
    EXPECT_EQ(oUs.nReads, 1);
    oUs.oChain.OnChangeCbChain(kOtherWindow, nullptr);
    EXPECT_EQ(oNext.nChanges, 1);
    EXPECT_EQ(oUs.oChain.GetNextViewer(), oNext.oWindow.Handle());

    // A repair that would lead back to us ends the chain here, and nothing is sent.
    oUs.oChain.OnChangeCbChain(oNext.oWindow.Handle(), oUs.Handle());
    EXPECT_EQ(oUs.oChain.GetNextViewer(), nullptr);
    EXPECT_EQ(oNext.nChanges, 1);
}

TEST(ClipboardViewerChain, AHungNextViewerDoesNotHangUs) {
    CHungMember oHung;
    CMember oUs;
    oUs.oChain.Join();
    ASSERT_EQ(oUs.oChain.GetNextViewer(), oHung.Handle());

    const ULONGLONG nStart = GetTickCount64();
    SendMessageW(oUs.Handle(), WM_DRAWCLIPBOARD, 0, 0);
    oUs.oChain.OnChangeCbChain(kOtherWindow, nullptr);
    oUs.oChain.Leave();
    EXPECT_LT(GetTickCount64() - nStart, 2000u);
    EXPECT_EQ(oUs.nReads, 1); // read after the hung viewer had its chance
    EXPECT_FALSE(oUs.oChain.IsInChain());
}

TEST(ClipboardViewerChain, AHungHeadDoesNotHangTheRejoin) {
    CMember oUs;
    oUs.oChain.Join();
    CHungMember oHung;
    ASSERT_EQ(GetClipboardViewer(), oHung.Handle());

    // Leaving would wait on the hung head: we join again at the head without leaving, so we
    // hear of changes again at once.
    const ULONGLONG nStart = GetTickCount64();
    oUs.oChain.Join();
    EXPECT_EQ(GetClipboardViewer(), oUs.Handle());
    EXPECT_EQ(oUs.oChain.GetNextViewer(), oHung.Handle());
    oUs.oChain.Leave();
    EXPECT_LT(GetTickCount64() - nStart, 2000u);
    EXPECT_FALSE(oUs.oChain.IsInChain());
    EXPECT_EQ(GetClipboardViewer(), oHung.Handle());
}
