// Reading the clipboard: one change gives at most one entry, the activation's own change is
// not recorded, a busy clipboard is tried again, a read never nests, the limit does not wrap.

#include "FakePorts.h"

#include <gtest/gtest.h>

using Texts = std::vector<std::u16string>;

class ClipboardReading : public ::testing::Test {
protected:
    ReadClipboardResult Read() { return m_oDoc.ReadClipboard(); }

    CFakeClipboard m_oClipboard;
    CFakeSettings m_oSettings;
    CTestDoc m_oDoc{m_oClipboard, m_oSettings};
};

TEST_F(ClipboardReading, OneChangeOneEntry) {
    m_oClipboard.CopyFromOtherProgram(u"same");
    EXPECT_EQ(Read(), ReadClipboardResult::Handled);
    EXPECT_EQ(Read(), ReadClipboardResult::Handled); // a second notification of that change
    EXPECT_EQ(m_oClipboard.nReads, 1);
    m_oClipboard.CopyFromOtherProgram(u"same"); // copied again: a new change, a new entry
    m_oClipboard.CopyFromOtherProgram(u"");
    Read();
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"", u"same"}));
    m_oClipboard.optText.reset(); // no text offered
    ++m_oClipboard.nSequence;
    Read();
    Read();
    EXPECT_EQ(m_oClipboard.nReads, 3);
    EXPECT_EQ(m_oDoc.GetItemCount(), 2);
}

TEST_F(ClipboardReading, BusyClipboardIsTriedAgain) {
    m_oClipboard.CopyFromOtherProgram(u"late");
    m_oClipboard.nBusyReads = 2;
    EXPECT_EQ(Read(), ReadClipboardResult::Retry);
    EXPECT_EQ(Read(), ReadClipboardResult::Retry);
    EXPECT_EQ(m_oDoc.GetItemCount(), 0);
    EXPECT_EQ(Read(), ReadClipboardResult::Handled);
    EXPECT_EQ(Read(), ReadClipboardResult::Handled);
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"late"}));
}

TEST_F(ClipboardReading, ActivationConsumesOnlyItsOwnChange) {
    m_oDoc.Fill({u"A", u"B"});
    ASSERT_EQ(m_oDoc.ActivateItem(1), 1);
    m_oClipboard.CopyFromOtherProgram(u"C"); // copied before the activation's notification came
    Read();
    Read();
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"C", u"B", u"A"}));
    EXPECT_EQ(m_oDoc.m_bIgnoreClipboardChange, 0);
    // The notification arrives inside the write, before the write returned.
    m_oClipboard.fnDuringWrite = [&] { EXPECT_EQ(Read(), ReadClipboardResult::Retry); };
    ASSERT_EQ(m_oDoc.ActivateItem(2), 1);
    EXPECT_EQ(Read(), ReadClipboardResult::Handled);
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"A", u"C", u"B"}));
    m_oClipboard.CopyFromOtherProgram(u"D");
    Read();
    EXPECT_EQ(m_oDoc.GetItem(0)->strText, u"D");
}

TEST_F(ClipboardReading, FailedActivationWrites) {
    m_oDoc.Fill({u"A", u"B"});
    // Gave up before touching the clipboard: no change of ours is coming.
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedUnchanged};
    EXPECT_EQ(m_oDoc.ActivateItem(1), 0);
    EXPECT_EQ(m_oDoc.m_bIgnoreClipboardChange, 0);
    m_oClipboard.CopyFromOtherProgram(u"C");
    Read();
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"C", u"A", u"B"}));
    // Emptied the clipboard, then failed: that change is consumed, the next copy is recorded.
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedChanged};
    EXPECT_EQ(m_oDoc.ActivateItem(2), 0);
    EXPECT_EQ(m_oDoc.m_bIgnoreClipboardChange, 1);
    m_oClipboard.optText = u"stale"; // would be recorded if the change were read
    Read();
    EXPECT_EQ(m_oClipboard.nReads, 1);
    EXPECT_EQ(m_oDoc.m_bIgnoreClipboardChange, 0);
    m_oClipboard.CopyFromOtherProgram(u"D");
    Read();
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"D", u"C", u"A", u"B"}));
    EXPECT_EQ(m_oDoc.WriteClipboardText(u"x"), 1);
    m_oClipboard.queWriteResults = {ClipboardWriteStatus::FailedUnchanged};
    EXPECT_EQ(m_oDoc.CopyText(u"y"), 0);
}

TEST_F(ClipboardReading, ReadIsNeverNested) {
    m_oClipboard.CopyFromOtherProgram(u"first");
    // Another change is notified while the read waits for the data.
    m_oClipboard.fnDuringRead = [&] {
        m_oClipboard.fnDuringRead = [&] {}; // the second read does not see another change
        m_oClipboard.CopyFromOtherProgram(u"second");
        EXPECT_EQ(Read(), ReadClipboardResult::Handled);
    };
    EXPECT_EQ(Read(), ReadClipboardResult::Handled);
    EXPECT_EQ(m_oClipboard.nMaxReadDepth, 1);
    // The first read took what was there when it read; the second took the new text.
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"second", u"second"}));
    EXPECT_EQ(m_oClipboard.nReads, 2);
    Read();
    EXPECT_EQ(m_oClipboard.nReads, 2);
}

TEST_F(ClipboardReading, SizeLimitInBytesDoesNotWrap) {
    m_oClipboard.CopyFromOtherProgram(u"abc");
    Read();
    EXPECT_EQ(m_oClipboard.nLastMaxBytes, 5000000u);
    m_oSettings.nMaxCopySize = 5000;
    m_oDoc.LoadSettings();
    m_oClipboard.CopyFromOtherProgram(u"def");
    Read();
    EXPECT_EQ(m_oClipboard.nLastMaxBytes, 5000000000u);
    m_oSettings.nMaxCopySize = 4295; // 32 bits would wrap to 32,704 bytes
    m_oDoc.LoadSettings();
    m_oClipboard.CopyFromOtherProgram(std::u16string(20000, u'x'));
    Read();
    EXPECT_EQ(m_oDoc.GetItem(0)->strText.size(), 20000u);
    m_oSettings.nMaxCopySize = 0; // every text is too large
    m_oDoc.LoadSettings();
    m_oClipboard.CopyFromOtherProgram(u"");
    Read();
    EXPECT_EQ(m_oDoc.GetItemCount(), 3);
}

TEST_F(ClipboardReading, WithoutSequenceNumbersTheFlagConsumesOneNotification) {
    m_oClipboard.bReportSequence = false;
    m_oDoc.Fill({u"A", u"B"});
    ASSERT_EQ(m_oDoc.ActivateItem(1), 1);
    Read();
    EXPECT_EQ(m_oDoc.GetItemCount(), 2);
    m_oClipboard.CopyFromOtherProgram(u"C");
    Read();
    EXPECT_EQ(m_oDoc.Texts(), (Texts{u"C", u"B", u"A"}));
}
