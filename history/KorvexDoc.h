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

    // Accessors.
    int32_t GetItemCount() const;
    CLIP_ITEM* FindItem(int32_t nIndex); // null when the index is out of range
    // The entries, head first, in one pass (FindItem walks the list from the head each time).
    std::vector<const CLIP_ITEM*> GetItems() const;
    CLIP_ITEM* GetItem(int32_t nIndex);     // CInvalidArgException when out of range
    FIND_CRITERIA& GetFindCriteria();       // writable, for the find dialog
    void NotifyItemChanged(int32_t nIndex); // -1 for the whole list: hint nIndex + 1
    static void EscapeText(std::u16string& strText);

    // Entry operations. Index arrays are ascending.
    void AddItem(std::u16string strText); // moved into the entry: a large text is held once
    int32_t ActivateItem(int32_t nIndex);
    int32_t ActivateItems(const std::vector<int32_t>& arrIndexes);
    void InvertItems(const std::vector<int32_t>& arrIndexes); // contiguous, at least two
    void RemoveItem(int32_t nIndex);
    void RemoveItems(const std::vector<int32_t>& arrIndexes); // any order, each entry once
    void ReplaceItemText(int32_t nIndex, const std::u16string& strText);
    void SetBookmark(int32_t nIndex, int32_t bBookmark);
    void ToggleBookmark(int32_t nIndex);
    void ClearBookmarks();
    int32_t FindNextBookmark(int32_t nStart);
    int32_t FindPrevBookmark(int32_t nStart);
    void ClearList();
    void LoadSettings();

    // Clipboard.
    ReadClipboardResult ReadClipboard();
    int32_t WriteClipboardText(const std::u16string& strText); // 1 when the text is on it
    int32_t CopyText(const std::u16string& strText);
    void CopyDateTime(const char* pszPattern);

    // Transformations: the result goes to the clipboard when bReplace is 0, else to the entry.
    void MakeObject(int32_t nIndex, int32_t bReplace);
    void ConvertToId(int32_t nIndex, int32_t bReplace);
    void ConvertFromId(int32_t nIndex, int32_t bReplace);
    void ChangeCase(int32_t nIndex, int32_t nMode, int32_t bReplace); // kCaseUpper, ...
    void ConvertItemsToId(const std::vector<int32_t>& arrIndexes);
    void ConvertItemsFromId(const std::vector<int32_t>& arrIndexes);
    void ChangeItemsCase(const std::vector<int32_t>& arrIndexes, int32_t nMode);

    // Search with m_oFindCriteria.
    int32_t FindNext(int32_t nStart, int32_t bWrap);
    int32_t FindPrev(int32_t nStart);
    void BookmarkAll();
    // The list's match function; pContext is the FIND_CRITERIA, nParam is not used.
    static int32_t MatchItem(void* pContext, uint32_t nParam, CLIP_ITEM* pItem);

protected:
    CSmartTypedPtrList<CLIP_ITEM> m_lstItems;
    int32_t m_nBufferSize = 0;
    uint32_t m_nMaxClipboardCopySize = 0;
    int32_t m_bIgnoreClipboardChange = 0;
    FIND_CRITERIA m_oFindCriteria;

private:
    enum class WriteKind { Plain, Activation };
    ClipboardWriteStatus WriteToClipboard(const std::u16string& strText, WriteKind nKind);
    ReadClipboardResult ReadClipboardOnce();
    void SendResult(int32_t nIndex, const std::u16string& strText, int32_t bReplace);
    void TrimToBufferSize();
    void CheckIndexes(const std::vector<int32_t>& arrIndexes, bool bStrictlyAscending);

    IClipboardPort& m_rClipboard;
    IHistorySettings& m_rSettings;
    std::vector<IHistoryObserver*> m_arrObservers;

    // Sequence numbers of the clipboard; 0 means unknown (the platform could not tell).
    uint32_t m_nHandledSequence = 0; // the last change that was recorded or ignored
    uint32_t m_nIgnoreSequence = 0;  // the change made by the last activation's write
    bool m_bReading = false;         // a read is running
    bool m_bReadAgain = false;       // a change was notified while the read was running
    bool m_bWriting = false;         // a write is running
};
