#pragma once
// Stand-ins for the platform behind the history document's ports, and helpers for its tests.

#include "history/KorvexDoc.h"

#include <clocale>
#include <cwctype>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A clipboard with a sequence number that counts every change. Another program's copy is
// CopyFromOtherProgram; the document's writes are recorded and may be made to fail.
class CFakeClipboard : public IClipboardPort {
public:
    uint32_t nSequence = 1;
    bool bReportSequence = true;           // false: the platform cannot tell (0)
    std::optional<std::u16string> optText; // what is offered; none: no text
    std::vector<std::u16string> arrWrites;
    std::deque<ClipboardWriteStatus> queWriteResults; // the next writes' results (else Written)
    int nBusyReads = 0;                               // so many reads report Busy
    int nReads = 0;
    int nReadDepth = 0, nMaxReadDepth = 0;
    uint64_t nLastMaxBytes = 0;
    std::function<void()> fnDuringRead;  // runs once inside the next read
    std::function<void()> fnDuringWrite; // runs once inside the next write, after the change

    void CopyFromOtherProgram(const std::u16string& strText) {
        optText = strText;
        ++nSequence;
    }
    uint32_t GetSequenceNumber() override { return bReportSequence ? nSequence : 0; }
    ClipboardRead ReadText(uint64_t nMaxBytes) override {
        ++nReads;
        nLastMaxBytes = nMaxBytes;
        ++nReadDepth;
        nMaxReadDepth = std::max(nMaxReadDepth, nReadDepth);
        RunOnce(fnDuringRead);
        --nReadDepth;
        if (nBusyReads > 0) {
            --nBusyReads;
            return {ClipboardReadStatus::Busy, {}};
        }
        if (!optText) {
            return {ClipboardReadStatus::NoText, {}};
        }
        if ((optText->size() + 1) * 2 > nMaxBytes) {
            return {ClipboardReadStatus::TooLarge, {}};
        }
        return {ClipboardReadStatus::Text, *optText};
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

private:
    static void RunOnce(std::function<void()>& fn) {
        if (fn) {
            auto fnRun = std::move(fn);
            fn = nullptr;
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

class CHintRecorder : public IHistoryObserver {
public:
    explicit CHintRecorder(std::vector<std::string>* pLog = nullptr, std::string strName = {})
        : m_pLog(pLog), m_strName(std::move(strName)) {}
    std::vector<int32_t> arrHints;
    void OnHistoryChanged(int32_t nHint) override {
        arrHints.push_back(nHint);
        if (m_pLog) {
            m_pLog->push_back(m_strName + std::to_string(nHint));
        }
    }

private:
    std::vector<std::string>* m_pLog;
    std::string m_strName;
};

// Opens the protected members of the document to the tests.
class CTestDoc : public CKorvexDoc {
public:
    using CKorvexDoc::CKorvexDoc;
    using CKorvexDoc::m_bIgnoreClipboardChange;
    using CKorvexDoc::m_lstItems;
    using CKorvexDoc::m_nBufferSize;
    using CKorvexDoc::m_nMaxClipboardCopySize;

    std::vector<std::u16string> Texts() {
        std::vector<std::u16string> arrTexts;
        for (int32_t i = 0; i < GetItemCount(); ++i) {
            arrTexts.push_back(GetItem(i)->strText);
        }
        return arrTexts;
    }
    // Fills the history so that arrTexts[0] is the head.
    void Fill(const std::vector<std::u16string>& arrTexts) {
        for (auto it = arrTexts.rbegin(); it != arrTexts.rend(); ++it) {
            AddItem(*it);
        }
    }
};

// Switches the character-type locale to one that case-maps letters beyond ASCII, and back.
class CCaseLocale {
public:
    CCaseLocale() {
        const char* pszFormer = std::setlocale(LC_CTYPE, nullptr);
        m_strFormer = pszFormer ? pszFormer : "C";
        for (const char* pszName :
             {"C.UTF-8", "C.utf8", "en_US.UTF-8", "", "English_United States.1252"}) {
            if (std::setlocale(LC_CTYPE, pszName) != nullptr && MapsBeyondAscii()) {
                m_bReady = true;
                return;
            }
        }
    }
    ~CCaseLocale() { std::setlocale(LC_CTYPE, m_strFormer.c_str()); }
    bool IsReady() const { return m_bReady; }

private:
    static bool MapsBeyondAscii() {
        return std::towupper(static_cast<wint_t>(u'é')) == static_cast<wint_t>(u'É') &&
               std::towlower(static_cast<wint_t>(u'Σ')) == static_cast<wint_t>(u'σ');
    }
    std::string m_strFormer;
    bool m_bReady = false;
};
