#pragma once
// The three narrow interfaces through which the history document reaches the platform: the
// clipboard, the settings and its observers. The portable core includes nothing else of it.

#include <cstdint>
#include <string>

// What one read of the clipboard found.
enum class ClipboardReadStatus {
    Text,     // text was offered and fits the limit: it is in ClipboardRead::strText
    NoText,   // neither Unicode nor 8-bit text is offered (or the block could not be locked)
    TooLarge, // text is offered but its block is larger than the limit: ignored whole
    Busy,     // the clipboard could not be opened within the bounded retries; try again later
    Private,  // the source marked the change as private: nothing of it was read
    Excluded, // the clipboard's owner is a program whose copies are never recorded: nothing of
              // it was read
};

struct ClipboardRead {
    ClipboardReadStatus nStatus = ClipboardReadStatus::NoText;
    std::u16string strText;
    // The clipboard's sequence number while the text was read (0: unknown). Fetching the data
    // can itself change the number (an import from another clipboard system), so this, not the
    // number seen before the read, names the change that was recorded.
    uint32_t nSequence = 0;
};

// What one write of a text to the clipboard did.
enum class ClipboardWriteStatus {
    Written,         // the text is on the clipboard
    FailedUnchanged, // gave up before the clipboard was touched (could not open or empty it)
    FailedChanged,   // the clipboard was emptied, but the text could not be handed over
};

class IClipboardPort {
public:
    virtual ~IClipboardPort() = default;
    // A number that changes with every change of the clipboard's contents.
    virtual uint32_t GetSequenceNumber() = 0;
    // Reads the offered text: Unicode text preferred, 8-bit text converted. A block of more
    // than nMaxBytes bytes is ignored (TooLarge). Never blocks beyond a short bound (Busy).
    virtual ClipboardRead ReadText(uint64_t nMaxBytes) = 0;
    // Puts the text on the clipboard as Unicode text. Never blocks beyond a short bound.
    virtual ClipboardWriteStatus WriteText(const std::u16string& strText) = 0;
};

// The two limits the document takes from the settings (which hold their defaults).
class IHistorySettings {
public:
    virtual ~IHistorySettings() = default;
    virtual int32_t GetBufferSize() = 0;            // "BufferSize"
    virtual uint32_t GetMaxClipboardCopySize() = 0; // "MaxClipboardCopySize"
};

// What a change of the history touched: the whole list (entries may have come, gone or
// moved), or only the entry at one index (its text or its bookmark changed).
class HistoryHint {
public:
    static HistoryHint WholeList() { return HistoryHint(kWholeList); }
    // A negative index stands for no entry: the whole list.
    static HistoryHint Entry(int32_t nIndex) {
        return HistoryHint(nIndex < 0 ? kWholeList : nIndex);
    }

    bool IsWholeList() const { return m_nIndex == kWholeList; }
    int32_t GetIndex() const { return m_nIndex; } // the entry's index; -1 for the whole list
    bool operator==(const HistoryHint&) const = default;

    // The hint as the number that a message between windows carries (WM_HISTORY_CHANGED's
    // wParam): the entry's index + 1, or 0 for the whole list. Any process can post such a
    // number, so every number that is not an entry's index + 1 reads as the whole list; whether
    // that entry still exists is for the receiver to check.
    uintptr_t ToMessageParam() const { return static_cast<uintptr_t>(m_nIndex + 1); }
    static HistoryHint FromMessageParam(uintptr_t nParam) {
        return nParam >= 1 && nParam <= uintptr_t{INT32_MAX}
                   ? HistoryHint(static_cast<int32_t>(nParam - 1))
                   : WholeList();
    }

private:
    static constexpr int32_t kWholeList = -1;
    explicit HistoryHint(int32_t nIndex) : m_nIndex(nIndex) {}
    int32_t m_nIndex;
};

// An observer of the document: gets the hint of every change, in the order in which the
// observers were added.
class IHistoryObserver {
public:
    virtual ~IHistoryObserver() = default;
    virtual void OnHistoryChanged(HistoryHint oHint) = 0;
};

// One change of the entries, told to the journal right after the document made it. Indexes are
// those of the list as it was before the change, except where noted.
enum class HistoryChangeKind {
    Inserted,         // a new entry at nIndex (of the list after the change)
    Removed,          // the entry at nIndex is gone
    Moved,            // the entry at nIndex is now at nIndex2 (of the list after the change)
    Reversed,         // the entries nIndex to nIndex2 (both included) now stand in reverse order
    TextChanged,      // the text of the entry at nIndex changed
    BookmarkChanged,  // the bookmark of the entry at nIndex changed
    BookmarksCleared, // no entry is bookmarked any more
    Cleared,          // the list is empty
    Replaced,         // the whole list was replaced (the kept entries taken at start)
};

struct HistoryChange {
    HistoryChangeKind nKind = HistoryChangeKind::Replaced;
    int32_t nIndex = 0;
    int32_t nIndex2 = 0;
};

// The journal of the document: hears every change of the entries one by one (observers hear
// only that something changed), to record them as they happen.
class IHistoryJournal {
public:
    virtual ~IHistoryJournal() = default;
    virtual void OnHistoryChange(const HistoryChange& oChange) = 0;
};
