#pragma once
// The history kept between runs ("KeepHistory"): at start the file's entries go into the
// document before any window shows it, then every change of the entries is written as it
// happens (the document's journal), the file calls on a thread of their own. A file that cannot
// be read is kept aside and the user is told once; keeping nothing deletes the file.

#include "history/HistoryFile.h"
#include "history/HistoryFileQueue.h"
#include "store/Win32HistoryFileStore.h"

#include <memory>
#include <string>

class CKorvexDoc;

class CKeptHistory {
public:
    explicit CKeptHistory(std::wstring strPath = DefaultHistoryFilePath());
    ~CKeptHistory();
    CKeptHistory(const CKeptHistory&) = delete;
    CKeptHistory& operator=(const CKeptHistory&) = delete;

    // Keeping anything, reads the file and gives its entries to the document (as many as
    // "BufferSize" lets in); then records the document's changes as nMode says. With Nothing no
    // file is read or written.
    void Start(CKorvexDoc& rDoc, KeepMode nMode);
    // Lets the document go (before it goes), once what was recorded is written.
    void Stop();
    // The options changed. Nothing deletes the file, also one left from an earlier run.
    void SetMode(KeepMode nMode);

    // Returns once everything recorded so far is in the file (Windows ends the session).
    void Drain();

    // What to tell the user about the file read at start (empty: nothing), once.
    std::wstring TakeNotice();

private:
    CWin32HistoryFileStore m_oStore;
    std::unique_ptr<CQueuedHistoryFileStore> m_pQueue; // the only caller of m_oStore after Load
    CKorvexDoc* m_pDoc = nullptr;
    std::unique_ptr<CHistoryWriter> m_pWriter;
    std::wstring m_strNotice;
};
