#pragma once
// Stand-ins for the platform behind the history document's ports, and the fixture of its tests.

#include "history/KorvexDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A clipboard whose sequence number counts every change. Another program's copy is
// CopyFromOtherProgram; the document's writes are recorded and may be made to fail.
class CFakeClipboard : public IClipboardPort {
public:
    uint32_t nSequence = 1;
    bool bReportSequence = true;           // false: the platform cannot tell (0)
    std::optional<std::u16string> optText; // what is offered; none: no text
    std::vector<std::u16string> arrWrites;
    std::deque<ClipboardWriteStatus> queWriteResults; // the next writes' results (else Written)
    int nBusyReads = 0;                               // so many reads report Busy
    int nReads = 0, nReadDepth = 0, nMaxReadDepth = 0;
    uint64_t nLastMaxBytes = 0;
    std::function<void()> fnDuringRead;    // runs inside the next read, before it takes the data
    std::function<void()> fnAfterSnapshot; // runs inside the next read, after it took the data
    std::function<void()> fnDuringWrite;   // runs inside the next write, after the change

    void CopyFromOtherProgram(const std::u16string& strText) {
        optText = strText;
        ++nSequence;
    }
    uint32_t GetSequenceNumber() override { return bReportSequence ? nSequence : 0; }
    ClipboardRead ReadText(uint64_t nMaxBytes) override {
        ++nReads;
        nLastMaxBytes = nMaxBytes;
        nMaxReadDepth = std::max(nMaxReadDepth, ++nReadDepth);
        RunOnce(fnDuringRead);
        const ClipboardRead oRead = Snapshot(nMaxBytes);
        RunOnce(fnAfterSnapshot);
        --nReadDepth;
        return oRead;
    }
    ClipboardRead Snapshot(uint64_t nMaxBytes) {
        if (nBusyReads > 0) {
            --nBusyReads;
            return {ClipboardReadStatus::Busy, {}};
        }
        const uint32_t nSeen = GetSequenceNumber(); // as the platform reports it while open
        if (!optText) {
            return {ClipboardReadStatus::NoText, {}, nSeen};
        }
        if ((optText->size() + 1) * 2 > nMaxBytes) {
            return {ClipboardReadStatus::TooLarge, {}, nSeen};
        }
        return {ClipboardReadStatus::Text, *optText, nSeen};
    }
    ClipboardWriteStatus WriteText(const std::u16string& strText) override {
        arrWrites.push_back(strText);
        ClipboardWriteStatus nStatus = ClipboardWriteStatus::Written;
        if (!queWriteResults.empty()) {
            nStatus = queWriteResults.front();
            queWriteResults.pop_front();
        }
        if (nStatus == ClipboardWriteStatus::Written) {
            CopyFromOtherProgram(strText);
        } else if (nStatus == ClipboardWriteStatus::FailedChanged) {
            optText.reset();
            ++nSequence;
        }
        RunOnce(fnDuringWrite);
        return nStatus;
    }
    static void RunOnce(std::function<void()>& fn) {
        if (auto fnRun = std::exchange(fn, nullptr)) {
            fnRun();
        }
    }
};

class CFakeSettings : public IHistorySettings {
public:
    int32_t nBufferSize = 200;
    uint32_t nMaxCopySize = 5;
    int32_t GetBufferSize() override { return nBufferSize; }
    uint32_t GetMaxClipboardCopySize() override { return nMaxCopySize; }
};

// Records the hints it gets as the numbers a message carries (0 the whole list, n the entry at
// n - 1), and hands each to fnAlso when one is set.
class CHintRecorder : public IHistoryObserver {
public:
    std::vector<int32_t> arrHints;
    std::function<void(int32_t)> fnAlso;
    void OnHistoryChanged(HistoryHint oHint) override {
        const auto nHint = static_cast<int32_t>(oHint.ToMessageParam());
        arrHints.push_back(nHint);
        if (fnAlso) {
            fnAlso(nHint);
        }
    }
};

// The document with its ignore flag open to the tests.
class CTestDoc : public CKorvexDoc {
public:
    using CKorvexDoc::CKorvexDoc;
    using CKorvexDoc::m_bIgnoreClipboardChange;

    std::vector<std::u16string> Texts() {
        std::vector<std::u16string> arrTexts;
        for (int32_t i = 0; i < GetItemCount(); ++i) {
            arrTexts.push_back(GetItemOrThrow(i)->strText);
        }
        return arrTexts;
    }
};

using Texts = std::vector<std::u16string>;
using Hints = std::vector<int32_t>;

// A document on the fakes with a recorder as its observer.
class DocTest : public ::testing::Test {
protected:
    void SetUp() override { Reset({}); }
    // A fresh document holding arrTexts (head first); hints and writes are forgotten.
    void Reset(const Texts& arrTexts) {
        m_pDoc = std::make_unique<CTestDoc>(m_oClipboard, m_oSettings);
        m_pDoc->AddObserver(&m_oRecorder);
        for (auto it = arrTexts.rbegin(); it != arrTexts.rend(); ++it) {
            m_pDoc->AddItem(*it);
        }
        m_oRecorder.arrHints.clear();
        m_oClipboard.arrWrites.clear();
    }
    ReadClipboardResult Read() { return m_pDoc->ReadClipboard(); }
    // The change notification that follows the document's own write.
    void Notify() { EXPECT_EQ(Read(), ReadClipboardResult::Handled); }

    CFakeClipboard m_oClipboard;
    CFakeSettings m_oSettings;
    CHintRecorder m_oRecorder;
    std::unique_ptr<CTestDoc> m_pDoc;
};
