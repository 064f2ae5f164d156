// Another program holding the clipboard open for seconds must not freeze Korvex, and the change
// it could not read at once is recorded once when the clipboard is free again.

#include "KorvexScenario.h"

#include <algorithm>

namespace e2e {
namespace {

using e2eFaults = KorvexScenario;

TEST_F(e2eFaults, ClipboardHeldBySomeoneElseFreezesNoHotkeyAndIsRecordedOnceAfterwards) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"alpha", L"beta"}));

    wintest::CChildProcess& oHolder = StartHelper(L"cliptool.exe", L"hold 3000 \"held text\"");
    ASSERT_TRUE(oHolder.WaitForOutput("holding", 10000));
    const ULONGLONG nHoldStart = GetTickCount64();
    // Ctrl+Alt+9 makes Korvex write to the held clipboard; Ctrl+Alt+A must still be handled at
    // once.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '9'}));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'A'}));
    ASSERT_LT(GetTickCount64() - nHoldStart, 2000u) << "the hotkeys came too late to test";
    EXPECT_TRUE(WaitForVisibleAfterHotkey(true));

    // The holder's text is recorded once when it lets go (the failed write of Ctrl+Alt+9 must
    // not make Korvex skip it), and nothing else is doubled.
    ASSERT_TRUE(oHolder.WaitForExit(10000));
    ASSERT_EQ(0u, oHolder.ExitCode());
    std::vector<std::wstring> vecRows;
    auto headIs = [&](const wchar_t* pszText) {
        return PumpUntil([&] { return !(vecRows = RowTexts()).empty() && vecRows[0] == pszText; });
    };
    EXPECT_TRUE(headIs(L"held text"));
    ASSERT_TRUE(Copy(L"mark"));
    ASSERT_TRUE(headIs(L"mark"));
    for (const wchar_t* pszText : {L"held text", L"alpha", L"beta"}) {
        EXPECT_EQ(1, std::count(vecRows.begin(), vecRows.end(), pszText)) << ToUtf8(pszText);
    }
}

} // namespace
} // namespace e2e
