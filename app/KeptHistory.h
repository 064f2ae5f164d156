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
#include <thread>

class CKorvexDoc;

class CKeptHistory {
public:
    explicit CKeptHistory(std::wstring strPath = DefaultHistoryFilePath());
    ~CKeptHistory();
    CKeptHistory(const CKeptHistory&) = delete;
    CKeptHistory& operator=(const CKeptHistory&) = delete;

    // Keeping anything, starts reading the file on a thread of its own, while the windows are
    // made. With Nothing no file is read or written.
    void BeginLoad(KeepMode nMode);
    // Waits for the read, gives the file's entries to the document (as many as "BufferSize"
    // lets in, older than any it holds already), then records the document's changes as the
    // mode of BeginLoad says.
    void Start(CKorvexDoc& rDoc);
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
    KeepMode m_nMode = KeepMode::Nothing;
    std::thread m_oLoader; // the only caller of m_oStore until it is joined
    LoadedHistory m_oLoaded;
    bool m_bTellUser = false;
    CKorvexDoc* m_pDoc = nullptr;
    std::unique_ptr<CHistoryWriter> m_pWriter;
    std::wstring m_strNotice;
};
