#pragma once
// The history document: owns the clipboard history (newest entry at index 0), records what is
// put on the clipboard, bounds the history, and carries out every operation on entries. It
// reaches the clipboard, the settings and its observers only through the ports.

#include "history/ClipItem.h"
#include "history/FindCriteria.h"
#include "history/HistoryPorts.h"
#include "history/SmartTypedPtrList.h"
#include "history/TextTransforms.h" // the case modes of ChangeCase

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What ReadClipboard did with a change notification.
enum class ReadClipboardResult {
    Handled, // the change was recorded, ignored or found to be handled already
    Retry,   // the clipboard was busy (or being written by the document itself): call
             // ReadClipboard again a little later
};

class CKorvexDoc {
public:
    CKorvexDoc(IClipboardPort& rClipboard, IHistorySettings& rSettings);
    CKorvexDoc(const CKorvexDoc&) = delete;
    CKorvexDoc& operator=(const CKorvexDoc&) = delete;
    virtual ~CKorvexDoc();

    // Observers get the hint of every change, in the order in which they were added.
    void AddObserver(IHistoryObserver* pObserver);
    void RemoveObserver(IHistoryObserver* pObserver);
    // The journal hears every change of the entries one by one, before the observers; null: none.
    void SetJournal(IHistoryJournal* pJournal);
    // The clock that stamps new entries and that ForgetUnbookmarked compares with (seconds since
    // 1970-01-01 00:00:00 UTC); the system's by default.
    void SetClock(std::function<int64_t()> fnNow);

    // Accessors.
    int32_t GetItemCount() const;
    CLIP_ITEM* FindItem(int32_t nIndex);       // null when the index is out of range
    CLIP_ITEM* GetItemOrThrow(int32_t nIndex); // CInvalidArgException when out of range
    // The entries, head first, in one pass (FindItem walks the list from the head each time).
    std::vector<const CLIP_ITEM*> GetItems() const;
    FIND_CRITERIA& GetFindCriteria(); // writable, for the find dialog
    void NotifyItemChanged(HistoryHint oHint);

    // Entry operations. Index arrays are ascending.
    void AddItem(std::u16string strText); // moved into the entry: a large text is held once
    // False when the text could not be put on the clipboard; an index out of range does nothing.
    bool ActivateItem(int32_t nIndex);
    bool ActivateItems(const std::vector<int32_t>& arrIndexes);
    // "Revert First Items": the second entry goes to the head (and to the clipboard), so the
    // first two change places; with fewer than two entries nothing happens.
    bool RevertFirstItems();
    void InvertItems(const std::vector<int32_t>& arrIndexes); // contiguous, at least two
    void RemoveItem(int32_t nIndex);
    void RemoveItems(const std::vector<int32_t>& arrIndexes); // any order, each entry once
    void ReplaceItemText(int32_t nIndex, const std::u16string& strText);
    void SetBookmark(int32_t nIndex, bool bBookmark);
    void ToggleBookmark(int32_t nIndex);
    void ClearBookmarks();
    int32_t FindNextBookmark(int32_t nStart);
    int32_t FindPrevBookmark(int32_t nStart);
    void ClearList();
    void LoadSettings();
    // Adds the kept entries read at start (head first) behind those recorded already, as many
    // as the "BufferSize" bound lets in, without touching the clipboard.
    void TakeLoadedEntries(std::vector<CLIP_ITEM>&& arrEntries);
    // Removes the entries that are not bookmarked and older than nSeconds (by the clock),
    // without touching the clipboard. Returns how many went.
    int32_t ForgetUnbookmarked(int64_t nSeconds);

    // Clipboard.
    ReadClipboardResult ReadClipboard();
    // "Pause Recording": while paused no change of the clipboard is recorded, nor even read, and
    // a change made during the pause is not recorded when recording resumes either (its
    // notification may come after the resume). A new document records.
    void SetRecordingPaused(bool bPaused);
    bool IsRecordingPaused() const { return m_bPaused; }
    // Puts the text on the clipboard, not into the history (the clipboard monitor records it
    // when it arrives there). True when the text is on it.
    bool WriteClipboardText(const std::u16string& strText);
    void CopyDateTime(const char* pszPattern);

    // Transformations: the result replaces the entry's text when bReplace is true, else it goes
    // to the clipboard.
    void MakeObject(int32_t nIndex, bool bReplace);
    void ConvertToId(int32_t nIndex, bool bReplace);
    void ConvertFromId(int32_t nIndex, bool bReplace);
    void ChangeCase(int32_t nIndex, int32_t nMode, bool bReplace); // kCaseUpper, ...
    void ConvertItemsToId(const std::vector<int32_t>& arrIndexes);
    void ConvertItemsFromId(const std::vector<int32_t>& arrIndexes);
    void ChangeItemsCase(const std::vector<int32_t>& arrIndexes, int32_t nMode);

    // Search with m_oFindCriteria.
    int32_t FindNext(int32_t nStart, bool bWrap);
    int32_t FindPrev(int32_t nStart);
    // Bookmarks every match; with fnShown, only the matches it answers true for (the rows a
    // filtered list shows).
    void BookmarkAll(const std::function<bool(int32_t)>& fnShown = nullptr);

protected:
    CSmartTypedPtrList<CLIP_ITEM> m_lstItems;
    int32_t m_nBufferSize = 0;
    uint32_t m_nMaxClipboardCopySize = 0;
    bool m_bIgnoreClipboardChange = false;
    FIND_CRITERIA m_oFindCriteria;

private:
    enum class WriteKind { Plain, Activation };
    ClipboardWriteStatus WriteToClipboard(const std::u16string& strText, WriteKind nKind);
    ReadClipboardResult ReadClipboardOnce();
    void SendResult(int32_t nIndex, const std::u16string& strText, bool bReplace);
    void TrimToBufferSize();
    void CheckIndexes(const std::vector<int32_t>& arrIndexes, bool bStrictlyAscending);
    void Journal(HistoryChangeKind nKind, int32_t nIndex = 0, int32_t nIndex2 = 0);

    IClipboardPort& m_rClipboard;
    IHistorySettings& m_rSettings;
    std::vector<IHistoryObserver*> m_arrObservers;
    IHistoryJournal* m_pJournal = nullptr;
    std::function<int64_t()> m_fnNow;

    // Sequence numbers of the clipboard; 0 means unknown (the platform could not tell).
    uint32_t m_nHandledSequence = 0; // the last change that was recorded or ignored
    uint32_t m_nIgnoreSequence = 0;  // the change made by the last activation's write
    bool m_bReading = false;         // a read is running
    bool m_bReadAgain = false;       // a change was notified while the read was running
    bool m_bWriting = false;         // a write is running
    bool m_bPaused = false;          // "Pause Recording"
};
