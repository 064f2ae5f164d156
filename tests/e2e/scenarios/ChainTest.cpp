// Korvex among other clipboard viewers: a rude one cuts it off for one re-join period at most,
// one that leaves is cut out of the chain, a loop does not echo, a hung one does not hang it.

#include "InputInjector.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "Registry.h"
#include "Wait.h"

namespace e2e {
namespace {

using e2eChain = KorvexScenario;

constexpr WORD kVkAlt = VK_MENU;

TEST_F(e2eChain, ViewerThatPassesNothingOnCutsKorvexOffForOneTimerPeriodAtMost) {
    ASSERT_TRUE(WriteSetting(L"Options", L"ResetClipboardTimer", 10000));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"before"}));

    const HWND hRude = StartViewer(L"rude", L"swallow");
    ASSERT_NE(nullptr, hRude);
    ASSERT_EQ(hRude, GetClipboardViewer());

    // Korvex joins the chain again at its head within one period (10 s, and some slack).
    ASSERT_TRUE(
        WaitUntil([&] { return GetClipboardViewer() == m_korvex.MainWindow(); }, 15000, 100))
        << "Korvex did not join the chain again within 15 s";

    // It records again, and passes the change on to the viewer it now stands before.
    const int nRudeBefore = ViewerDraws(hRude);
    ASSERT_TRUE(Copy(L"after"));
    EXPECT_TRUE(WaitForRows({L"after", L"before"}));
    EXPECT_TRUE(WaitUntil([&] { return ViewerDraws(hRude) == nRudeBefore + 1; }, 3000));
}

TEST_F(e2eChain, ViewerThatLeavesIsCutOutAndTheRestOfTheChainStillHears) {
    const HWND hFirst = StartViewer(L"first", L"pass");
    ASSERT_NE(nullptr, hFirst);
    const HWND hSecond = StartViewer(L"second", L"pass");
    ASSERT_NE(nullptr, hSecond);
    ASSERT_EQ(hSecond, GetClipboardViewer());
    // Korvex joins last: Korvex, then the second viewer, then the first.
    ASSERT_TRUE(StartKorvex());
    ASSERT_EQ(m_korvex.MainWindow(), GetClipboardViewer());

    ASSERT_TRUE(CopyEach({L"one"}));
    EXPECT_TRUE(WaitUntil([&] { return ViewerDraws(hSecond) == 1; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return ViewerDraws(hFirst) == 1; }, 3000));

    // The second viewer leaves properly; Korvex must now pass changes to the first.
    ASSERT_TRUE(PostMessageW(hSecond, WM_CLOSE, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hSecond); }, 5000));
    ASSERT_TRUE(Copy(L"two"));
    EXPECT_TRUE(WaitForRows({L"two", L"one"}));
    EXPECT_TRUE(WaitUntil([&] { return ViewerDraws(hFirst) == 2; }, 3000))
        << "the first viewer did not hear of the change after the second left";
}

TEST_F(e2eChain, LoopedChainRecordsEachChangeOnceAndPassesItOnOnce) {
    ASSERT_TRUE(StartKorvex());
    // A viewer that ignores chain changes joins after Korvex: when Korvex re-joins, the viewer
    // still names Korvex as its next, and the chain runs in a circle through both.
    const HWND hDeaf = StartViewer(L"deaf", L"deaf");
    ASSERT_NE(nullptr, hDeaf);
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgResetClipboardViewer, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return GetClipboardViewer() == m_korvex.MainWindow(); }, 5000));

    ASSERT_TRUE(CopyEach({L"round 1", L"round 2"}));
    EXPECT_TRUE(WaitUntil([&] { return ViewerDraws(hDeaf) == 2; }, 3000));
    // Once more, so that an echo of the earlier changes would have shown by now.
    ASSERT_TRUE(Copy(L"round 3"));
    EXPECT_TRUE(WaitForRows({L"round 3", L"round 2", L"round 1"}));
    EXPECT_TRUE(WaitUntil([&] { return ViewerDraws(hDeaf) == 3; }, 3000));
    EXPECT_EQ(3, ViewerDraws(hDeaf));
    EXPECT_TRUE(m_korvex.Responds(2000));
}

TEST_F(e2eChain, HungViewerDoesNotHangKorvex) {
    ASSERT_TRUE(StartKorvex());
    const HWND hHung = StartViewer(L"hung", L"hang");
    ASSERT_NE(nullptr, hHung);
    ASSERT_EQ(hHung, GetClipboardViewer());

    // Re-joining the chain would tell the viewer at its head, which never answers.
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgResetClipboardViewer, 0, 0));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, 'A'}));
    EXPECT_TRUE(WaitForVisibleAfterHotkey(true, 1000));
    // A copy reaches the hung viewer first, and Korvex maybe after it.
    ASSERT_TRUE(Copy(L"copied"));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, 'A'}));
    EXPECT_TRUE(WaitForVisibleAfterHotkey(false, 1000));
    EXPECT_TRUE(m_korvex.Responds(2000));
}

TEST_F(e2eChain, HungViewerAtTheHeadCutsKorvexOffOnlyUntilItJoinsAgain) {
    ASSERT_TRUE(StartKorvex());
    const HWND hHung = StartViewer(L"hung", L"hang");
    ASSERT_NE(nullptr, hHung);
    ASSERT_EQ(hHung, GetClipboardViewer());

    // On request (as on its timer) Korvex heads the chain again, so it records again although
    // passing changes on to the hung viewer cannot succeed.
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgResetClipboardViewer, 0, 0));
    EXPECT_TRUE(WaitUntil([&] { return GetClipboardViewer() == m_korvex.MainWindow(); }, 5000))
        << "Korvex did not join the chain again in front of the hung viewer";
    ASSERT_TRUE(Copy(L"recorded"));
    EXPECT_TRUE(WaitForRows({L"recorded"}));
    EXPECT_TRUE(m_korvex.Responds(2000));
}

} // namespace
} // namespace e2e
