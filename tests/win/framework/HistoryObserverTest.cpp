// Windows hooked up to the history document: a handler called inside the change, a message
// posted for later, and the registration ending with the observer.

#include <gtest/gtest.h>

#include "framework/HistoryObserver.h"
#include "framework/Wnd.h"
#include "history/KorvexDoc.h"

#include "TestPump.h"

#include <memory>
#include <vector>

namespace {

class CNoClipboard : public IClipboardPort {
public:
    uint32_t GetSequenceNumber() override { return 1; }
    ClipboardRead ReadText(uint64_t) override { return {}; }
    ClipboardWriteStatus WriteText(const std::u16string&) override {
        return ClipboardWriteStatus::FailedUnchanged;
    }
};

class CFixedSettings : public IHistorySettings {
public:
    int32_t GetBufferSize() override { return 200; }
    uint32_t GetMaxClipboardCopySize() override { return 5; }
};

// Records the WM_HISTORY_CHANGED it gets.
class CHintWnd : public CWnd {
public:
    std::vector<WPARAM> m_arrHints;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        if (nMsg == WM_HISTORY_CHANGED) {
            m_arrHints.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

class HistoryObserverTest : public ::testing::Test {
protected:
    CNoClipboard m_clipboard;
    CFixedSettings m_settings;
    CKorvexDoc m_doc{m_clipboard, m_settings};
};

} // namespace

TEST_F(HistoryObserverTest, HandlerGetsEveryHintWhileConnected) {
    std::vector<int32_t> arrHints;
    {
        CHistoryObserver observer([&](int32_t nHint) { arrHints.push_back(nHint); });
        observer.Connect(m_doc);
        EXPECT_TRUE(observer.IsConnected());
        m_doc.AddItem(u"one");
        m_doc.AddItem(u"two");
        m_doc.ToggleBookmark(1);
        observer.Disconnect();
        EXPECT_FALSE(observer.IsConnected());
        m_doc.AddItem(u"not seen");
        observer.Connect(m_doc);
        m_doc.AddItem(u"seen again");
    } // the destructor leaves the document
    m_doc.AddItem(u"after the observer went");
    EXPECT_EQ(arrHints, (std::vector<int32_t>{0, 0, 2, 0}));
}

TEST_F(HistoryObserverTest, PosterPostsTheHintToItsWindow) {
    CHintWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"hints", WS_OVERLAPPED, RECT{0, 0, 10, 10}, nullptr, 0));
    auto pPoster = std::make_unique<CHistoryPoster>(wnd.m_hWnd);
    pPoster->Connect(m_doc);
    m_doc.AddItem(u"one");
    m_doc.ToggleBookmark(0);
    EXPECT_TRUE(wnd.m_arrHints.empty()) << "posted, not sent";
    EXPECT_TRUE(PumpUntil([&] { return wnd.m_arrHints.size() == 2; }));
    EXPECT_EQ(wnd.m_arrHints, (std::vector<WPARAM>{0, 1}));

    pPoster.reset();
    m_doc.AddItem(u"two"); // must not reach a deleted observer
    PumpPending();
    EXPECT_EQ(wnd.m_arrHints.size(), 2u);
}
