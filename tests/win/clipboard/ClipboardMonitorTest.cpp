// The history document over the Win32 clipboard, notified through the viewer chain the way the
// main frame does it: every change becomes exactly one entry, a busy clipboard is read later
// from a timer, and an activation's own change is not recorded.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "ClipTool.h"
#include "MonitoredHistory.h"
#include "clipboard/ClipboardText.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/X11Clipboard.h"

namespace {

// How long to watch for a second entry after one arrived.
constexpr DWORD kQuietMs = 600;

void ExpectToolWrites(const std::wstring& strArguments) {
    ASSERT_EQ(RunClipTool(strArguments).nExitCode, 0u)
        << ToUtf8({strArguments.begin(), strArguments.end()});
}

// Starts a cliptool that holds the clipboard open for nMs (with the text on it, when given).
void StartHolder(wintest::CChildProcess& oHolder, DWORD nMs, const std::wstring& strText = L"") {
    ASSERT_TRUE(oHolder.Start(ClipToolCommand(L"hold " + std::to_wstring(nMs) + L" " + strText)));
    ASSERT_TRUE(oHolder.WaitForOutput("holding", 10000));
}

} // namespace

TEST(ClipboardMonitor, EachX11CopyBecomesExactlyOneEntry) {
    CMonitoredHistory oHistory;
    const struct {
        const char* pszCopied; // UTF-8
        std::u16string strEntry;
    } arrCopies[] = {
        {"h\xC3\xA9llo \xE2\x98\x83", u"h\u00E9llo \u2603"},
        {"a\tb\r\nc\td\r\n", u"a\tb\r\nc\td\r\n"},
        {"h\xC3\xA9llo \xE2\x98\x83", u"h\u00E9llo \u2603"}, // the same again: kept twice
    };
    wintest::CX11ClipboardOwner arrOwners[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(arrOwners[i].Copy(arrCopies[i].pszCopied));
        ASSERT_TRUE(oHistory.WaitForEntries(i + 1)) << "copy " << i;
        wintest::PumpFor(kQuietMs);
        ASSERT_EQ(oHistory.Doc().GetItemCount(), i + 1) << "copy " << i << " was recorded twice";
        EXPECT_EQ(oHistory.EntryText(0), arrCopies[i].strEntry);
    }
    EXPECT_EQ(oHistory.EntryText(2), arrCopies[0].strEntry); // newest first
}

TEST(ClipboardMonitor, BlockOfExactlyTheLimitIsTakenOneByteMoreIsNot) {
    CMonitoredHistory oHistory(5); // the default limit: 5,000,000 bytes
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-size 5000000"));
    ASSERT_TRUE(oHistory.WaitForEntries(1));
    EXPECT_TRUE(oHistory.EntryText(0) == std::u16string(2499999, u'x'));

    const int nNotified = oHistory.Monitor().GetChangeCount();
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-size 5000001"));
    ASSERT_TRUE(
        wintest::PumpUntil([&] { return oHistory.Monitor().GetChangeCount() > nNotified; }));
    wintest::PumpFor(kQuietMs);
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 1);
    EXPECT_FALSE(oHistory.Monitor().IsRetrying());
}

TEST(ClipboardMonitor, HeldClipboardBlocksNothingAndItsChangeIsRecordedOnceAfterwards) {
    CMonitoredHistory oHistory;
    wintest::CChildProcess oHolder;
    ASSERT_NO_FATAL_FAILURE(StartHolder(oHolder, 2000, L"\"held text\""));

    // Read, write and a change notification each give up after about 100 ms; 1 s leaves room
    // for a loaded machine, while the holder keeps the clipboard for 2 s.
    ULONGLONG arrMs[3];
    ULONGLONG nStart = GetTickCount64();
    EXPECT_EQ(ReadClipboardText(oHistory.Handle(), 5'000'000).nStatus, ClipboardReadStatus::Busy);
    arrMs[0] = GetTickCount64() - nStart;
    nStart = GetTickCount64();
    EXPECT_EQ(WriteClipboardText(oHistory.Handle(), u"mine"),
              ClipboardWriteStatus::FailedUnchanged);
    arrMs[1] = GetTickCount64() - nStart;
    nStart = GetTickCount64();
    oHistory.Monitor().OnDrawClipboard();
    arrMs[2] = GetTickCount64() - nStart;
    std::printf("held clipboard: read gave up after %lu ms, write %lu ms, notification %lu ms\n",
                static_cast<unsigned long>(arrMs[0]), static_cast<unsigned long>(arrMs[1]),
                static_cast<unsigned long>(arrMs[2]));
    for (const ULONGLONG nMs : arrMs) {
        EXPECT_LT(nMs, 1000u);
    }
    EXPECT_TRUE(oHolder.IsRunning());
    EXPECT_TRUE(oHistory.Monitor().IsRetrying());
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 0);

    // Once the holder lets go, its text is recorded exactly once and the retries stop.
    ASSERT_TRUE(oHolder.WaitForExit(10000));
    ASSERT_TRUE(oHistory.WaitForEntries(1));
    wintest::PumpFor(kQuietMs);
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 1);
    EXPECT_EQ(oHistory.EntryText(0), u"held text");
    EXPECT_FALSE(oHistory.Monitor().IsRetrying());
}

TEST(ClipboardMonitor, RetriesEndWhenTheClipboardStaysHeld) {
    CMonitoredHistory oHistory;
    wintest::CChildProcess oHolder;
    ASSERT_NO_FATAL_FAILURE(StartHolder(oHolder, CClipboardReadRetry::kRetryBudgetMs + 1500));
    const ULONGLONG nStart = GetTickCount64();
    oHistory.Monitor().OnDrawClipboard();
    EXPECT_TRUE(wintest::PumpUntil([&] { return !oHistory.Monitor().IsRetrying(); },
                                   CClipboardReadRetry::kRetryBudgetMs + 1000));
    EXPECT_GE(GetTickCount64() - nStart, CClipboardReadRetry::kRetryBudgetMs);
    EXPECT_TRUE(oHolder.IsRunning()) << "the holder let go before the retries ended";
    EXPECT_TRUE(oHolder.WaitForExit(10000));
}

TEST(ClipboardMonitor, ActivationConsumesExactlyOneNotification) {
    CMonitoredHistory oHistory;
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 first"));
    ASSERT_TRUE(oHistory.WaitForEntries(1));
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 second"));
    ASSERT_TRUE(oHistory.WaitForEntries(2));

    const int nNotified = oHistory.Monitor().GetChangeCount();
    EXPECT_TRUE(oHistory.Doc().ActivateItem(1));
    EXPECT_EQ(oHistory.EntryText(0), u"first");
    ASSERT_TRUE(
        wintest::PumpUntil([&] { return oHistory.Monitor().GetChangeCount() > nNotified; }));
    wintest::PumpFor(kQuietMs);
    EXPECT_EQ(oHistory.Monitor().GetChangeCount(), nNotified + 1);
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 2);
    EXPECT_EQ(RunClipTool(L"read").strOutput, "first");

    // The next copy is recorded as usual.
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 third"));
    ASSERT_TRUE(oHistory.WaitForEntries(3));
    EXPECT_EQ(oHistory.EntryText(0), u"third");
}

TEST(ClipboardMonitor, AChangeThatNeverReachedUsIsReadAtTheRejoinWhatWasThereAtTheStartNever) {
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 before"));
    CMonitoredHistory oHistory;
    oHistory.Monitor().Rejoin();
    wintest::PumpFor(kQuietMs);
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 0);

    // A viewer that joins after us and passes nothing on: we miss the next change.
    const wintest::CHandlerWindow oRude([](UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return nMsg == WM_DRAWCLIPBOARD || nMsg == WM_CHANGECBCHAIN ? std::optional<LRESULT>(0)
                                                                    : std::nullopt;
    });
    const HWND hAfterRude = SetClipboardViewer(oRude.Handle());
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 missed"));
    wintest::PumpFor(kQuietMs);
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 0);
    oHistory.Monitor().Rejoin();
    EXPECT_TRUE(oHistory.WaitForEntries(1));
    oHistory.Monitor().Rejoin(); // once only
    wintest::PumpFor(kQuietMs);
    EXPECT_EQ(oHistory.Doc().GetItemCount(), 1);
    EXPECT_EQ(oHistory.EntryText(0), u"missed");
    ChangeClipboardChain(oRude.Handle(), hAfterRude);
}
