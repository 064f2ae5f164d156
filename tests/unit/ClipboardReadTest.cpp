// Reading the clipboard: one change gives at most one entry, the activation's own change is not
// recorded, a busy clipboard is tried again, a read never nests, the limit does not wrap.

#include "FakePorts.h"

using ClipboardReading = DocTest;

TEST_F(ClipboardReading, OneChangeGivesOneEntryBySequenceNumber) {
    m_oClipboard.CopyFromOtherProgram(u"same");
    Notify();
    Notify();                                   // a second notification of that change
    m_oClipboard.CopyFromOtherProgram(u"same"); // copied again: a new change, a new entry
    Notify();
    m_oClipboard.optText.reset(); // a change without text
    ++m_oClipboard.nSequence;
    Notify();
    Notify();
    EXPECT_EQ(m_oClipboard.nReads, 3);
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"same", u"same"}));
}

TEST_F(ClipboardReading, WithoutSequenceNumbersTheFlagConsumesOneNotification) {
    m_oClipboard.bReportSequence = false;
    Reset({u"A", u"B"});
    ASSERT_TRUE(m_pDoc->ActivateItem(1));
    Notify();
    m_oClipboard.CopyFromOtherProgram(u"C");
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"B", u"A"}));
}

TEST_F(ClipboardReading, NothingCopiedDuringAPauseIsReadOrRecordedThenOrAfterTheResume) {
    m_oClipboard.CopyFromOtherProgram(u"before");
    m_oClipboard.nBusyReads = 1;
    EXPECT_EQ(Read(), ReadClipboardResult::Retry);
    m_pDoc->SetRecordingPaused(true);
    Notify(); // the retry of a busy read comes during the pause
    m_oClipboard.CopyFromOtherProgram(u"secret");
    Notify();
    EXPECT_EQ(m_oClipboard.nReads, 1);
    m_oClipboard.CopyFromOtherProgram(u"late");
    m_pDoc->SetRecordingPaused(false);
    Notify(); // the notification of the last copy of the pause comes after the resume
    m_oClipboard.CopyFromOtherProgram(u"after");
    // The read dispatches the command that pauses again.
    m_oClipboard.fnAfterSnapshot = [&] { m_pDoc->SetRecordingPaused(true); };
    Notify();
    m_pDoc->SetRecordingPaused(false);
    m_oClipboard.CopyFromOtherProgram(u"recorded");
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"recorded"}));
}

TEST_F(ClipboardReading, BusyClipboardAsksForARetry) {
    m_oClipboard.CopyFromOtherProgram(u"late");
    m_oClipboard.nBusyReads = 2;
    EXPECT_EQ(Read(), ReadClipboardResult::Retry);
    EXPECT_EQ(Read(), ReadClipboardResult::Retry);
    EXPECT_EQ(m_pDoc->GetItemCount(), 0);
    Notify();
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"late"}));
}

TEST_F(ClipboardReading, ActivationConsumesOnlyItsOwnChange) {
    Reset({u"A", u"B"});
    ASSERT_TRUE(m_pDoc->ActivateItem(1));
    m_oClipboard.CopyFromOtherProgram(u"C"); // copied before the activation's notification came
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"C", u"B", u"A"}));
    EXPECT_FALSE(m_pDoc->m_bIgnoreClipboardChange);
    // The notification arrives inside the write, before the write returned.
    m_oClipboard.fnDuringWrite = [&] { EXPECT_EQ(Read(), ReadClipboardResult::Retry); };
    ASSERT_TRUE(m_pDoc->ActivateItem(2));
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"A", u"C", u"B"}));
}

TEST_F(ClipboardReading, FailedActivationWritesLeaveTheNextCopyRecorded) {
    Reset({u"A", u"B"});
    // Gave up before touching the clipboard: no change of ours is coming.
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedUnchanged};
    EXPECT_FALSE(m_pDoc->ActivateItem(1));
    EXPECT_FALSE(m_pDoc->m_bIgnoreClipboardChange);
    m_oClipboard.CopyFromOtherProgram(u"C");
    Notify();
    // Emptied the clipboard, then failed: that change is consumed, the next copy is recorded.
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedChanged};
    EXPECT_FALSE(m_pDoc->ActivateItem(2));
    m_oClipboard.optText = u"stale"; // would be recorded if the change were read
    Notify();
    EXPECT_FALSE(m_pDoc->m_bIgnoreClipboardChange);
    m_oClipboard.CopyFromOtherProgram(u"D");
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"D", u"C", u"A", u"B"}));
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedUnchanged};
    EXPECT_FALSE(m_pDoc->WriteClipboardText(u"y"));
}

TEST_F(ClipboardReading, ChangeNotifiedDuringAReadIsReadAfterItNotInsideIt) {
    m_oClipboard.CopyFromOtherProgram(u"first");
    // Another program copies after the read took its data, and that change is notified while
    // the read still runs.
    m_oClipboard.fnAfterSnapshot = [&] {
        m_oClipboard.CopyFromOtherProgram(u"second");
        Notify();
    };
    Notify();
    EXPECT_EQ(m_oClipboard.nMaxReadDepth, 1);
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"second", u"first"}));
    Notify();
    EXPECT_EQ(m_oClipboard.nReads, 2);
}

TEST_F(ClipboardReading, ChangeMadeByFetchingTheDataIsNotRecordedAgain) {
    // Fetching text that another clipboard system owns imports it, which changes the sequence
    // number once more and notifies again inside the read.
    m_oClipboard.CopyFromOtherProgram(u"imported");
    m_oClipboard.fnDuringRead = [&] {
        ++m_oClipboard.nSequence;
        Notify();
    };
    Notify();
    Notify(); // a late notification of the import
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"imported"}));
    m_oClipboard.CopyFromOtherProgram(u"next");
    Notify();
    EXPECT_EQ(m_pDoc->Texts(), (Texts{u"next", u"imported"}));
}

TEST_F(ClipboardReading, SizeLimitInBytesIsComputedIn64Bits) {
    const std::pair<uint32_t, uint64_t> aLimits[] = {
        {5, 5000000}, {5000, 5000000000}, {4295, 4295000000}}; // 4295: 32 bits give 32,704
    for (const auto& [nMegabytes, nBytes] : aLimits) {
        m_oSettings.nMaxCopySize = nMegabytes;
        m_pDoc->LoadSettings();
        m_oClipboard.CopyFromOtherProgram(std::u16string(20000, u'x'));
        Notify();
        EXPECT_EQ(m_oClipboard.nLastMaxBytes, nBytes);
    }
    EXPECT_EQ(m_pDoc->GetItemCount(), 3);
    m_oSettings.nMaxCopySize = 0; // every text is too large
    m_pDoc->LoadSettings();
    m_oClipboard.CopyFromOtherProgram(u"");
    Notify();
    EXPECT_EQ(m_pDoc->GetItemCount(), 3);
}
