// Clips marked private by the program that copied them: no entry, and the next ordinary copy is
// recorded as usual.

#include <gtest/gtest.h>

#include <windows.h>

#include "ClipTool.h"
#include "MonitoredHistory.h"
#include "tests/support/win/MessagePump.h"

TEST(PrivateClip, OnlyClipsWithoutAPrivateMarkerBecomeEntries) {
    CMonitoredHistory oHistory;
    const struct {
        const wchar_t* pszArguments;
        const char16_t* pszEntry; // the new head, or nullptr when nothing is recorded
    } arrCopies[] = {
        {L"write-marked exclude secret1", nullptr},
        {L"write-marked viewer-ignore secret2", nullptr},
        {L"write-marked history-0 secret3", nullptr},
        {L"write-marked history-1 allowed", u"allowed"},
        {L"write-marked history-short unreadable", u"unreadable"}, // says nothing: recorded
        {L"write-utf8 plain", u"plain"},
    };
    int32_t nEntries = 0;
    for (const auto& oCopy : arrCopies) {
        SCOPED_TRACE(ToUtf8({oCopy.pszArguments, oCopy.pszArguments + wcslen(oCopy.pszArguments)}));
        const int nNotified = oHistory.Monitor().GetChangeCount();
        ASSERT_EQ(RunClipTool(oCopy.pszArguments).nExitCode, 0u);
        // The read runs inside the notification; a busy clipboard is read from the retry timer.
        ASSERT_TRUE(wintest::PumpUntil([&] {
            return oHistory.Monitor().GetChangeCount() > nNotified &&
                   !oHistory.Monitor().IsRetrying();
        }));
        nEntries += oCopy.pszEntry != nullptr ? 1 : 0;
        EXPECT_EQ(oHistory.Doc().GetItemCount(), nEntries);
        if (oCopy.pszEntry != nullptr) {
            EXPECT_EQ(oHistory.EntryText(0), oCopy.pszEntry);
        }
    }
}
