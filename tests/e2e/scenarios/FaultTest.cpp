// Another program holding the clipboard open for seconds must not freeze Korvex, and the change
// it could not read at once is recorded once when the clipboard is free again.

#include "ClipboardReader.h"
#include "HelperProcess.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "Registry.h"
#include "Wait.h"

#include <algorithm>

namespace e2e {
namespace {

using e2eFaults = KorvexScenario;

constexpr WORD kVkAlt = VK_MENU;

long Occurrences(const std::vector<std::wstring>& vecRows, const std::wstring& strText) {
    return std::count(vecRows.begin(), vecRows.end(), strText);
}

TEST_F(e2eFaults, ClipboardHeldBySomeoneElseDoesNotFreezeHotkeys) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"alpha", L"beta"}));

    CHelperProcess& oHolder =
        StartHelper(L"\"" + ProgramPath(L"cliptool.exe") + L"\" hold 3000 \"held text\"", true);
    ASSERT_TRUE(oHolder.WaitForOutput("holding", 10000));
    const ULONGLONG nHoldStart = GetTickCount64();

    // Ctrl+Alt+9 makes Korvex write to the held clipboard, then Ctrl+Alt+A must still be
    // handled at once.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, '9'}));
    const ULONGLONG nSecondPressAfter = ElapsedMs(nHoldStart);
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, 'A'}));
    EXPECT_TRUE(WaitForVisibleAfterHotkey(true, 1000));
    ASSERT_LT(nSecondPressAfter, 2000u) << "the hotkeys came too late to test a held clipboard";

    // The holder's text is recorded once, when it lets go (the failed write of Ctrl+Alt+9 must
    // not make Korvex skip the next change).
    ASSERT_TRUE(oHolder.WaitForExit(10000));
    EXPECT_EQ(0u, oHolder.ExitCode());
    std::vector<std::wstring> vecRows;
    EXPECT_TRUE(WaitUntil(
        [&] {
            vecRows = RowTexts();
            return !vecRows.empty() && vecRows[0] == L"held text";
        },
        5000))
        << ToUtf8(Quoted(vecRows));
    ASSERT_TRUE(Copy(L"mark"));
    ASSERT_TRUE(
        WaitUntil([&] { return !(vecRows = RowTexts()).empty() && vecRows[0] == L"mark"; }, 5000));
    EXPECT_EQ(1, Occurrences(vecRows, L"held text")) << ToUtf8(Quoted(vecRows));
    EXPECT_EQ(1, Occurrences(vecRows, L"alpha")) << ToUtf8(Quoted(vecRows));
    EXPECT_EQ(1, Occurrences(vecRows, L"beta")) << ToUtf8(Quoted(vecRows));
}

TEST_F(e2eFaults, ChangeSeenWhileTheClipboardIsHeldIsRecordedOnceAfterwards) {
    // No periodic re-join during the scenario: the grabbing viewer stays at the chain's head.
    ASSERT_TRUE(WriteSetting(L"Options", L"ResetClipboardTimer", 60000));
    ASSERT_TRUE(StartKorvex());
    // This viewer opens the clipboard when it hears of a change, then tells Korvex, and keeps
    // the clipboard open for two seconds.
    const HWND hGrabber = StartViewer(L"grabber", L"grab 2000");
    ASSERT_NE(nullptr, hGrabber);
    ASSERT_EQ(hGrabber, GetClipboardViewer());

    ASSERT_TRUE(Copy(L"grabbed"));
    ASSERT_TRUE(WaitUntil([&] { return ViewerDraws(hGrabber) == 1; }, 3000));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, 'A'}));
    EXPECT_TRUE(WaitForVisibleAfterHotkey(true, 1000));

    EXPECT_TRUE(WaitForRows({L"grabbed"}, 6000));
    ASSERT_TRUE(Copy(L"mark"));
    EXPECT_TRUE(WaitForRows({L"mark", L"grabbed"}, 6000));
}

} // namespace
} // namespace e2e
