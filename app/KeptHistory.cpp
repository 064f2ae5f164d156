#include "KeptHistory.h"

#include "history/KorvexDoc.h"

#include <utility>

namespace {

const wchar_t* WhyUnreadable(HistoryFileStatus nStatus) {
    switch (nStatus) {
    case HistoryFileStatus::NotAHistory:
        return L"It is not a Korvex history file.";
    case HistoryFileStatus::LaterVersion:
        return L"It was written by a later version of Korvex.";
    case HistoryFileStatus::KeyUnreadable:
        return L"It was written by another user account or on another computer.";
    default:
        return L"It is damaged.";
    }
}

} // namespace

CKeptHistory::CKeptHistory(std::wstring strPath) : m_oStore(std::move(strPath)) {}

CKeptHistory::~CKeptHistory() {
    Stop();
}

void CKeptHistory::BeginLoad(KeepMode nMode) {
    Stop();
    m_nMode = nMode;
    m_oLoaded = {};
    m_bTellUser = false;
    if (nMode != KeepMode::Nothing) {
        m_oLoader = std::thread([this] { m_oLoaded = m_oStore.Load(&m_bTellUser); });
    }
}

void CKeptHistory::Start(CKorvexDoc& rDoc) {
    if (m_oLoader.joinable()) {
        m_oLoader.join();
    }
    m_pDoc = &rDoc;
    LoadedHistory oLoaded = std::move(m_oLoaded);
    m_oLoaded = {};
    if (m_bTellUser) {
        const std::wstring strWhy = WhyUnreadable(oLoaded.nStatus);
        m_strNotice = m_oStore.IsWriting()
                          ? L"The history file could not be read and was kept as "
                            L"History.dat.unreadable:\n" +
                                m_oStore.GetUnreadablePath() + L"\n\n" + strWhy +
                                L" Korvex starts with the entries that could be read."
                          : L"The history file could not be read, and it could not be kept "
                            L"aside as History.dat.unreadable:\n" +
                                m_oStore.GetPath() + L"\n\n" + strWhy +
                                L" Korvex starts with the entries that could be read and "
                                L"writes nothing to the file until it starts again.";
    }
    if (!oLoaded.arrEntries.empty()) {
        rDoc.TakeLoadedEntries(std::move(oLoaded.arrEntries));
    }
    // Attached after the entries are taken: the writer goes on from the file as it was read
    // (or writes it anew when that is not what it keeps).
    m_pQueue = std::make_unique<CQueuedHistoryFileStore>(m_oStore);
    m_pWriter = std::make_unique<CHistoryWriter>(rDoc, *m_pQueue, m_nMode, oLoaded.oState);
    rDoc.SetJournal(m_pWriter.get());
}

void CKeptHistory::Stop() {
    if (m_oLoader.joinable()) {
        m_oLoader.join();
    }
    if (m_pDoc != nullptr) {
        m_pDoc->SetJournal(nullptr);
        m_pDoc = nullptr;
    }
    m_pWriter.reset();
    m_pQueue.reset();
}

void CKeptHistory::SetMode(KeepMode nMode) {
    if (!m_pWriter) {
        return;
    }
    m_pWriter->SetMode(nMode);
    if (nMode == KeepMode::Nothing) {
        // The writer deletes the file it wrote; a file left from a run that kept entries, while
        // this one started keeping nothing, goes too.
        m_pQueue->Delete();
    }
}

void CKeptHistory::Drain() {
    if (m_pQueue) {
        m_pQueue->Drain();
    }
}

std::wstring CKeptHistory::TakeNotice() {
    return std::exchange(m_strNotice, std::wstring());
}
