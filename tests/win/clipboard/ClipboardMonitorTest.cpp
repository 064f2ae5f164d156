// The history document over the Win32 clipboard, notified through the viewer chain the way the
// main frame does it: every change becomes exactly one entry, a busy clipboard is read later
// from a timer, and an activation's own change is not recorded.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ChildProcess.h"
#include "ClipboardWatcher.h"
#include "MessagePump.h"
#include "TestText.h"
#include "X11ClipboardOwner.h"
#include "clipboard/ClipboardText.h"

namespace {

// How long a change may take to arrive, and how long to watch for a second entry after it.
constexpr DWORD kArrivalMs = 5000;
constexpr DWORD kQuietMs = 600;

void ExpectToolWrites(const std::wstring& strArguments) {
    const ProgramResult oResult = RunClipTool(strArguments);
    ASSERT_TRUE(oResult.bEnded);
    ASSERT_EQ(oResult.nExitCode, 0u);
}

} // namespace

TEST(ClipboardMonitor, EachX11CopyBecomesOneEntry) {
    CClipboardWatcher oWatcher;
    ASSERT_TRUE(oWatcher.IsReady());
    CKorvexDoc& rDoc = oWatcher.GetDoc();
    const std::string arrCopies[] = {"h\xC3\xA9llo \xE2\x98\x83", "a\tb\r\nc\td\r\n",
                                     "h\xC3\xA9llo \xE2\x98\x83"};
    const std::u16string arrExpected[] = {u"h\u00E9llo \u2603", u"a\tb\r\nc\td\r\n",
                                          u"h\u00E9llo \u2603"};
    CX11ClipboardOwner arrOwners[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(arrOwners[i].Copy(arrCopies[i]));
        ASSERT_TRUE(oWatcher.WaitForEntryCount(i + 1, kArrivalMs)) << "copy " << i;
        PumpFor(kQuietMs);
        ASSERT_EQ(rDoc.GetItemCount(), i + 1) << "copy " << i << " was recorded twice";
        EXPECT_EQ(oWatcher.GetEntryText(0), arrExpected[i]);
    }
    // Newest first; the same text copied twice is kept twice.
    EXPECT_EQ(oWatcher.GetEntryText(1), arrExpected[1]);
    EXPECT_EQ(oWatcher.GetEntryText(2), arrExpected[0]);
}

TEST(ClipboardMonitor, BlockOfExactlyTheLimitIsRecordedOneByteMoreIsNot) {
    CClipboardWatcher oWatcher(5); // the default limit: 5,000,000 bytes
    ASSERT_TRUE(oWatcher.IsReady());
    CKorvexDoc& rDoc = oWatcher.GetDoc();

    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-size 5000000"));
    ASSERT_TRUE(oWatcher.WaitForEntryCount(1, kArrivalMs));
    const std::u16string strTaken = oWatcher.GetEntryText(0);
    EXPECT_EQ(strTaken.size(), 2499999u);
    EXPECT_EQ(strTaken.find_first_not_of(u'x'), std::u16string::npos);

    const int nNotified = oWatcher.GetNotificationCount();
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-size 5000001"));
    ASSERT_TRUE(PumpUntil([&] { return oWatcher.GetNotificationCount() > nNotified; }, kArrivalMs));
    PumpFor(kQuietMs);
    EXPECT_EQ(rDoc.GetItemCount(), 1);
    EXPECT_FALSE(oWatcher.GetRetry().IsRetrying());

    // The next copy is recorded as usual.
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 small"));
    ASSERT_TRUE(oWatcher.WaitForEntryCount(2, kArrivalMs));
    EXPECT_EQ(oWatcher.GetEntryText(0), u"small");
}

TEST(ClipboardMonitor, BusyClipboardIsRecordedOnceAfterRelease) {
    CClipboardWatcher oWatcher;
    ASSERT_TRUE(oWatcher.IsReady());
    CKorvexDoc& rDoc = oWatcher.GetDoc();

    // Another program puts a text on the clipboard and keeps it open for a while.
    CChildProcess oHolder;
    ASSERT_TRUE(oHolder.Start(ClipToolCommand(L"hold 1500 \"held text\"")));
    ASSERT_TRUE(oHolder.WaitForOutput("holding", 10000));

    // A notification now finds the clipboard busy: nothing recorded yet, the timer takes over.
    const ULONGLONG nStart = GetTickCount64();
    oWatcher.GetRetry().OnClipboardChanged();
    EXPECT_LT(GetTickCount64() - nStart, 1000u);
    EXPECT_TRUE(oWatcher.GetRetry().IsRetrying());
    EXPECT_EQ(rDoc.GetItemCount(), 0);

    ASSERT_TRUE(oWatcher.WaitForEntryCount(1, kArrivalMs));
    ASSERT_TRUE(oHolder.WaitForExit(10000));
    PumpFor(kQuietMs);
    EXPECT_EQ(rDoc.GetItemCount(), 1);
    EXPECT_EQ(oWatcher.GetEntryText(0), u"held text");
    EXPECT_FALSE(oWatcher.GetRetry().IsRetrying());
}

TEST(ClipboardMonitor, RetryGivesUpWhenTheClipboardStaysBusy) {
    CClipboardWatcher oWatcher;
    ASSERT_TRUE(oWatcher.IsReady());
    CChildProcess oHolder;
    const DWORD nHoldMs = CClipboardReadRetry::kRetryBudgetMs + 1500;
    ASSERT_TRUE(oHolder.Start(ClipToolCommand(L"hold " + std::to_wstring(nHoldMs) + L" stuck")));
    ASSERT_TRUE(oHolder.WaitForOutput("holding", 10000));

    const ULONGLONG nStart = GetTickCount64();
    oWatcher.GetRetry().OnClipboardChanged();
    ASSERT_TRUE(oWatcher.GetRetry().IsRetrying());
    ASSERT_TRUE(PumpUntil([&] { return !oWatcher.GetRetry().IsRetrying(); },
                          CClipboardReadRetry::kRetryBudgetMs + 1000));
    const ULONGLONG nGaveUpAfter = GetTickCount64() - nStart;
    EXPECT_GE(nGaveUpAfter, CClipboardReadRetry::kRetryBudgetMs);
    EXPECT_FALSE(oHolder.WaitForExit(0)) << "the holder let go before the retries ended";
    EXPECT_EQ(oWatcher.GetDoc().GetItemCount(), 0);

    // When the holder lets go, its change is announced and recorded after all.
    ASSERT_TRUE(oHolder.WaitForExit(10000));
    ASSERT_TRUE(oWatcher.WaitForEntryCount(1, kArrivalMs));
    EXPECT_EQ(oWatcher.GetEntryText(0), u"stuck");
}

TEST(ClipboardMonitor, ActivationMovesTheEntryWithoutRecordingItsOwnChange) {
    CClipboardWatcher oWatcher;
    ASSERT_TRUE(oWatcher.IsReady());
    CKorvexDoc& rDoc = oWatcher.GetDoc();
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 first"));
    ASSERT_TRUE(oWatcher.WaitForEntryCount(1, kArrivalMs));
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 second"));
    ASSERT_TRUE(oWatcher.WaitForEntryCount(2, kArrivalMs));

    const int nNotified = oWatcher.GetNotificationCount();
    EXPECT_EQ(rDoc.ActivateItem(1), 1);
    EXPECT_EQ(oWatcher.GetEntryText(0), u"first");
    EXPECT_EQ(oWatcher.GetEntryText(1), u"second");
    ASSERT_TRUE(PumpUntil([&] { return oWatcher.GetNotificationCount() > nNotified; }, kArrivalMs));
    PumpFor(kQuietMs);
    EXPECT_EQ(oWatcher.GetNotificationCount(), nNotified + 1);
    EXPECT_EQ(rDoc.GetItemCount(), 2);
    EXPECT_EQ(RunClipTool(L"read").strOutput, "first");

    // The ignore applied to that one change only: the next copy is recorded.
    ASSERT_NO_FATAL_FAILURE(ExpectToolWrites(L"write-utf8 third"));
    ASSERT_TRUE(oWatcher.WaitForEntryCount(3, kArrivalMs));
    EXPECT_EQ(oWatcher.GetEntryText(0), u"third");
}
