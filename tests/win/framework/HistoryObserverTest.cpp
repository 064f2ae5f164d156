// Windows hooked up to the history document: a handler called inside the change, a message
// posted for later, and the registration ending with the observer.

#include <gtest/gtest.h>

#include "framework/HistoryObserver.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/RecordingWindow.h"
#include "tests/unit/FakePorts.h"

using HistoryObserverTest = DocTest;

TEST_F(HistoryObserverTest, HandlerGetsEveryHintWhileConnected) {
    std::vector<int32_t> arrHints;
    {
        CHistoryObserver observer([&](int32_t nHint) { arrHints.push_back(nHint); });
        observer.Connect(*m_pDoc);
        EXPECT_TRUE(observer.IsConnected());
        m_pDoc->AddItem(u"one");
        m_pDoc->AddItem(u"two");
        m_pDoc->ToggleBookmark(1);
        observer.Disconnect();
        m_pDoc->AddItem(u"not seen");
        observer.Connect(*m_pDoc);
        m_pDoc->AddItem(u"seen again");
    } // the destructor leaves the document
    m_pDoc->AddItem(u"after the observer went");
    EXPECT_EQ(arrHints, (std::vector<int32_t>{0, 0, 2, 0}));
}

TEST_F(HistoryObserverTest, PosterPostsTheHintToItsWindow) {
    wintest::CRecordingWindow wnd;
    auto pPoster = std::make_unique<CHistoryPoster>(wnd.Handle());
    pPoster->Connect(*m_pDoc);
    m_pDoc->AddItem(u"one");
    m_pDoc->ToggleBookmark(0);
    EXPECT_TRUE(wnd.Messages().empty()) << "posted, not sent";
    EXPECT_TRUE(wintest::PumpUntil([&] { return wnd.Messages().size() == 2; }));
    EXPECT_EQ(wnd.MessageIds(), (std::vector<UINT>{WM_HISTORY_CHANGED, WM_HISTORY_CHANGED}));
    EXPECT_EQ(wnd.Messages()[1].wParam, 1u);
    pPoster.reset();
    m_pDoc->AddItem(u"two"); // must not reach a deleted observer
    wintest::PumpFor(50);
    EXPECT_EQ(wnd.Messages().size(), 2u);
}
