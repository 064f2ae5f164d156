// Korvex among other clipboard viewers: a rude one cuts it off for one timer period at most,
// one that leaves is cut out of the chain, a hung one neither hangs it nor cuts it off for long.

#include "KorvexScenario.h"

namespace e2e {
namespace {

using e2eChain = KorvexScenario;

TEST_F(e2eChain, ViewerThatPassesNothingOnCutsKorvexOffForOneTimerPeriodAtMost) {
    ASSERT_TRUE(WriteSetting(L"Options", L"ResetClipboardTimer", 10000));
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"before"}));
    const HWND hRude = StartViewer(L"rude", L"swallow");
    ASSERT_NE(nullptr, hRude);
    ASSERT_EQ(hRude, GetClipboardViewer());

    // Korvex heads the chain again within one period (10 s, and some slack), records again and
    // passes the change on to the viewer it now stands before.
    ASSERT_TRUE(PumpUntil([&] { return GetClipboardViewer() == m_korvex.MainWindow(); }, 15000))
        << "Korvex did not join the chain again within 15 s";
    const int nRudeDraws = ViewerDraws(hRude);
    ASSERT_TRUE(Copy(L"after"));
    EXPECT_TRUE(WaitForRows({L"after", L"before"}));
    EXPECT_TRUE(PumpUntil([&] { return ViewerDraws(hRude) == nRudeDraws + 1; }));
}

TEST_F(e2eChain, ViewerThatLeavesIsCutOutAndTheRestOfTheChainStillHears) {
    const HWND hFirst = StartViewer(L"first", L"pass");
    const HWND hSecond = StartViewer(L"second", L"pass");
    ASSERT_TRUE(hFirst && hSecond);
    // Korvex joins last: Korvex, then the second viewer, then the first.
    ASSERT_TRUE(StartKorvex());
    ASSERT_EQ(m_korvex.MainWindow(), GetClipboardViewer());
    ASSERT_TRUE(CopyEach({L"one"}));
    EXPECT_TRUE(PumpUntil([&] { return ViewerDraws(hFirst) == 1 && ViewerDraws(hSecond) == 1; }));

    ASSERT_TRUE(PostMessageW(hSecond, WM_CLOSE, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hSecond); }));
    ASSERT_TRUE(Copy(L"two"));
    EXPECT_TRUE(WaitForRows({L"two", L"one"}));
    EXPECT_TRUE(PumpUntil([&] { return ViewerDraws(hFirst) == 2; }))
        << "the first viewer did not hear of the change after the second left";
}

TEST_F(e2eChain, HungViewerAtTheHeadNeitherHangsKorvexNorCutsItOffOnceItJoinsAgain) {
    ASSERT_TRUE(StartKorvex());
    const HWND hHung = StartViewer(L"hung", L"hang");
    ASSERT_TRUE(hHung != nullptr && hHung == GetClipboardViewer());

    // Joining again (on request, as on its timer) tells the hung viewer at the head, which never
    // answers: hotkeys are still handled at once, Korvex heads the chain again, and it records
    // although passing changes on cannot succeed.
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgResetClipboardViewer, 0, 0));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'A'}));
    EXPECT_TRUE(WaitForVisibleAfterHotkey(true));
    EXPECT_TRUE(PumpUntil([&] { return GetClipboardViewer() == m_korvex.MainWindow(); }))
        << "Korvex did not join the chain again in front of the hung viewer";
    ASSERT_TRUE(Copy(L"recorded"));
    EXPECT_TRUE(WaitForRows({L"recorded"}));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'A'}));
    EXPECT_TRUE(WaitForVisibleAfterHotkey(false));
}

} // namespace
} // namespace e2e
