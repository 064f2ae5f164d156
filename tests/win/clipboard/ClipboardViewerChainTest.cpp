// The clipboard viewer chain as Korvex stands in it: a neighbour that loops chain messages back
// or hangs must neither loop nor hang us, and a head that is busy when we join again must not
// cost any viewer of the chain a change.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "ClipTool.h"
#include "MonitoredHistory.h"
#include "clipboard/ClipboardViewerChain.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/MessagePump.h"

namespace {

// A window in the chain through CClipboardViewerChain alone; counts the changes it was told to
// read. It leaves the chain when it goes.
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

// A well-behaved viewer on its own thread, as another program is: it joins the chain at once,
// counts the changes and passes both chain messages on. Busy(ms) keeps its thread from handling
// messages for a while; it has just handled its messages, so the system does not count it as
// hung: only the sender's timeout protects against it.
class CViewerThread {
public:
    CViewerThread() {
        wintest::PumpUntil([this] { return m_hWnd.load() != nullptr; }, 10000);
    }
    ~CViewerThread() {
        SetEvent(m_hRelease);
        PostMessageW(m_hWnd, WM_QUIT_VIEWER, 0, 0);
        // It leaves the chain on its way out; the system tells us meanwhile.
        wintest::PumpUntil([this] { return m_bDone.load(); }, 10000);
        m_oThread.join();
        CloseHandle(m_hRelease);
        CloseHandle(m_hBusy);
    }
    HWND Handle() const { return m_hWnd; }
    int Draws() const { return m_nDraws; }
    // Whether it handles a message within 50 ms.
    bool Answers() const {
        DWORD_PTR nResult = 0;
        return SendMessageTimeoutW(m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 50, &nResult) != 0;
    }
    // Stops handling messages for nMs (INFINITE: until it is destroyed).
    void Busy(DWORD nMs) {
        ResetEvent(m_hBusy);
        PostMessageW(m_hWnd, WM_BUSY, 0, static_cast<LPARAM>(nMs));
        WaitForSingleObject(m_hBusy, 5000);
    }

private:
    static constexpr UINT WM_BUSY = WM_APP + 1;
    static constexpr UINT WM_QUIT_VIEWER = WM_APP + 2;

    void Run() {
        HWND hWnd =
            CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        // Sent chain messages are handled inside GetMessageW through this window's subclass.
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_pfnStatic = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc)));
        m_bJoining = true;
        m_hNext = SetClipboardViewer(hWnd);
        m_bJoining = false;
        m_hWnd = hWnd;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_BUSY) {
                SetEvent(m_hBusy);
                WaitForSingleObject(m_hRelease, static_cast<DWORD>(msg.lParam));
            } else if (msg.message == WM_QUIT_VIEWER) {
                break;
            }
            DispatchMessageW(&msg);
        }
        ChangeClipboardChain(hWnd, m_hNext);
        DestroyWindow(hWnd);
        m_bDone = true;
    }
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CViewerThread*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (nMsg == WM_DRAWCLIPBOARD) {
            if (pThis->m_bJoining) {
                return 0;
            }
            ++pThis->m_nDraws;
            if (pThis->m_hNext != nullptr) {
                SendMessageW(pThis->m_hNext, nMsg, wParam, lParam);
            }
            return 0;
        }
        if (nMsg == WM_CHANGECBCHAIN) {
            if (reinterpret_cast<HWND>(wParam) == pThis->m_hNext) {
                pThis->m_hNext = reinterpret_cast<HWND>(lParam);
            } else if (pThis->m_hNext != nullptr) {
                SendMessageW(pThis->m_hNext, nMsg, wParam, lParam);
            }
            return 0;
        }
        return CallWindowProcW(pThis->m_pfnStatic, hWnd, nMsg, wParam, lParam);
    }

    HANDLE m_hRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_hBusy = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool m_bJoining = false;
    std::atomic<HWND> m_hWnd{nullptr};
    HWND m_hNext = nullptr;
    WNDPROC m_pfnStatic = nullptr;
    std::atomic<int> m_nDraws{0};
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
    CViewerThread oHung;
    oHung.Busy(INFINITE);
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

TEST(ClipboardViewerChain, AHeadBusyAtTheRejoinCostsNoViewerAChange) {
    // The chain: the viewer that joined after us, us, the viewer that joined before us.
    CViewerThread oBefore;
    CMonitoredHistory oUs;
    CViewerThread oAfter;
    ASSERT_EQ(GetClipboardViewer(), oAfter.Handle());

    // The head does not answer while we join again: we join without leaving.
    oAfter.Busy(600);
    const ULONGLONG nStart = GetTickCount64();
    oUs.Monitor().Rejoin();
    EXPECT_LT(GetTickCount64() - nStart, 2000u);
    EXPECT_EQ(GetClipboardViewer(), oUs.Handle());
    EXPECT_TRUE(oUs.Monitor().GetChain().HasKeptLink());
    // (A change made while a viewer does not answer at all is lost for it under Wine, whatever
    // we do: the system drops a sent message that timed out.)
    ASSERT_TRUE(wintest::PumpUntil([&] { return oAfter.Answers(); }));

    for (int i = 1; i <= 3; ++i) {
        const std::wstring strText = L"copy" + std::to_wstring(i);
        ASSERT_EQ(RunClipTool(L"write-utf8 " + strText).nExitCode, 0u);
        ASSERT_TRUE(oUs.WaitForEntries(i)) << strText;
        EXPECT_TRUE(wintest::PumpUntil([&] { return oAfter.Draws() == i && oBefore.Draws() == i; }))
            << strText << ": " << oAfter.Draws() << " and " << oBefore.Draws() << " heard";
    }
    // Each heard each copy once, and we recorded each once; our old place is gone again.
    wintest::PumpFor(300);
    EXPECT_EQ(oAfter.Draws(), 3);
    EXPECT_EQ(oBefore.Draws(), 3);
    EXPECT_EQ(oUs.Doc().GetItemCount(), 3);
    EXPECT_EQ(oUs.EntryText(0), u"copy3");
    EXPECT_FALSE(oUs.Monitor().GetChain().HasKeptLink());
}
