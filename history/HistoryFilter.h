#pragma once
// Find-by-typing: the entries whose whole text holds every word of a filter text, in any order
// and without regard to case, kept in step with the history as it changes, and where the words
// stand in a row's shown text.
//
// The case folding is a per-character function that the platform passes in (the user's locale
// decides it there); DefaultCaseFold stands in where none is given. Each entry's text is folded
// once, when it arrives, into one byte per character (CFoldedHistory): a character below 0x80 is
// its folded self, any other stands for its folded character by 0x80 | 7 bits of it. A filter
// scans those bytes and confirms each hit on the text itself, so a key press reads half the
// bytes the texts hold. The copies cost one byte per character: half the texts' own size.

#include "history/ClipItem.h"
#include "history/HistoryPorts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CKorvexDoc;

using CaseFold = std::function<char16_t(char16_t)>;

// The default folding: ASCII, Latin-1 and Latin Extended-A, Greek and Cyrillic letters to their
// small forms (final sigma to sigma, long s to s, the capital I with dot to i); any other unit
// stays as it is. It depends on no C runtime locale.
char16_t DefaultCaseFold(char16_t ch);

// The folding of all 65,536 UTF-16 units, made once from a per-character function, and the key
// byte of each.
class CCaseFolding {
public:
    explicit CCaseFolding(const CaseFold& fnFold);
    char16_t Fold(char16_t ch) const { return m_arrFold[ch]; }
    unsigned char Key(char16_t ch) const { return m_arrKey[ch]; }
    std::u16string FoldText(const std::u16string& strText) const;
    std::string KeysOf(const std::u16string& strText) const;

private:
    std::vector<char16_t> m_arrFold;
    std::vector<unsigned char> m_arrKey;
};

// An entry's text folded: its key bytes, and for each block of kFoldBlock keys a sieve of the
// keys that stand in it or in the kFoldOverlap after it (256 bits, one per key) and of the pairs
// of adjacent keys that start there (512 bits, hashed). A word of at most kFoldOverlap + 1
// characters is looked for only in the blocks whose sieve holds all its keys and pairs.
inline constexpr size_t kFoldBlock = 1024;
inline constexpr size_t kFoldOverlap = 31;
inline constexpr size_t kSieveWords = 12; // 64-bit words per block

struct FOLDED_TEXT {
    uint64_t nRevision = 0; // revisions start at 1
    std::string strKeys;
    std::vector<uint64_t> arrSieves; // kSieveWords per block
};

// The bit of a key and of a pair of keys in a block's sieve.
inline uint32_t SieveBit(unsigned char nKey) {
    return nKey;
}
inline uint32_t SieveBit(unsigned char nKey, unsigned char nNext) {
    return 256 + (((uint32_t{nKey} << 8 | nNext) * 0x9E3779B1u) >> 23);
}

// The folded texts of every entry of the document, made when a hint tells of a new or changed
// entry and dropped with the entry. One per document, shared by every filter on it: add it to
// the document's observers (it reads the document's entries on each hint). An entry that a
// filter asks for before the hint reached this is folded then.
//
// Made with bFoldLater, it folds the entries it holds already only as FoldPending or a filter
// asks (a start with a large kept history answers first); new entries are folded as ever.
class CFoldedHistory : public IHistoryObserver {
public:
    explicit CFoldedHistory(const CKorvexDoc& rDoc, const CaseFold& fnFold = DefaultCaseFold,
                            bool bFoldLater = false);

    // A new folding (the user's locale changed): every entry is folded again.
    void SetCaseFold(const CaseFold& fnFold);
    const CCaseFolding& GetFolding() const { return *m_pFolding; }

    // The entry's current text folded.
    const FOLDED_TEXT& Get(const CLIP_ITEM& item);
    // Folds entries not folded yet, newest first, until about nUnits characters are done; true
    // while some are left.
    bool FoldPending(size_t nUnits);
    // Bytes held for all entries: one per character, and 96 per 1,024 characters for the sieves.
    size_t GetHeldBytes() const;
    // How many keys of all entries are nKey (rare keys are the ones to look for first).
    uint64_t GetKeyCount(unsigned char nKey) const { return m_arrKeyCounts[nKey]; }

    void OnHistoryChanged(HistoryHint oHint) override;

private:
    const CKorvexDoc& m_rDoc;
    std::unique_ptr<CCaseFolding> m_pFolding;
    void Count(const std::string& strKeys, bool bAdd);

    bool IsFolded(const CLIP_ITEM& item) const;

    std::unordered_map<const CLIP_ITEM*, FOLDED_TEXT> m_mapFolded;
    std::array<uint64_t, 256> m_arrKeyCounts{};
    bool m_bPending = false; // entries that no hint folded are left for FoldPending
};

// Where one word stands in a row's shown text (MakeShownText), in units of that text.
struct TEXT_MARK {
    size_t nStart;
    size_t nLength;
    bool operator==(const TEXT_MARK&) const = default;
};

// The filter of one list: its text, and the rows that match it, as indexes into the document's
// entries in history order (row 0 is the newest matching entry). Without a word (an empty text,
// or spaces only) every entry is a row.
class CHistoryFilter {
public:
    CHistoryFilter(const CKorvexDoc& rDoc, CFoldedHistory& rFolded);

    // A new filter text (the field changed): the rows are found again. When each word of the
    // former text lies inside a word of the new one (a character typed), only the former rows
    // are searched. False when the words are the same as before (the rows only follow the
    // document, as by Refresh).
    bool SetText(const std::u16string& strText);
    const std::u16string& GetText() const { return m_strText; }
    bool HasWords() const { return !m_arrWords.empty(); }

    // Brings the rows in line with the document after a change: call it on each hint, the whole
    // list or one entry. An entry is searched again only when it is new or its text changed, so
    // a copy arriving costs one search of its text; one that no longer matches leaves the rows.
    void Refresh();
    // The same after a change of the folding (CFoldedHistory::SetCaseFold): all searched again.
    void RefreshAll();

    const std::vector<int32_t>& GetRows() const { return m_arrRows; }
    // The entry a row stood for at the last refresh (to be compared, never read: it may be gone),
    // and the row that stands for an entry now (-1: none). A list keeps its selection with them.
    const CLIP_ITEM* GetRowEntry(int32_t nRow) const;
    int32_t FindRow(const CLIP_ITEM* pItem) const;

    // The marks for an entry's row: the first occurrence of each word in the shown units of the
    // text, in units of MakeShownText(strText) (an escape before it moves it on; a tab or break
    // inside it is marked whole), in order, overlapping ones joined. Empty without a word.
    std::vector<TEXT_MARK> FindShownMarks(const std::u16string& strText) const;

private:
    struct WORD {
        std::u16string strFolded;
        std::string strKeys;
        bool bAscii; // keys alone decide: no hit needs to be confirmed on the text
        std::vector<uint32_t> arrSieveBits; // empty: too long for the sieves, every block read
        size_t nProbe1, nProbe2;            // the two keys the scan tests first
    };
    bool Matches(const CLIP_ITEM& item);
    bool Contains(const CLIP_ITEM& item, const WORD& oWord);
    // Brings the rows in line with the document; bWordsChanged: search the entries again, but
    // with bNarrower not those that did not match before.
    void Sync(bool bWordsChanged, bool bNarrower);

    const CKorvexDoc& m_rDoc;
    CFoldedHistory& m_rFolded;
    std::u16string m_strText;
    std::vector<WORD> m_arrWords; // longest first: the rarest words fail soonest
    // The entries at the last refresh, head first, each entry's revision then, and whether it
    // matched.
    std::vector<const CLIP_ITEM*> m_arrItems;
    std::vector<uint64_t> m_arrRevisions;
    std::vector<bool> m_arrMatch;
    std::vector<int32_t> m_arrRows;
};

// The first position in [nFrom, nTo) at which strNeedle stands in strKeys, or npos. The scan
// tests the needle's bytes at nProbe1 and nProbe2 first (out of range: the first and the last).
size_t FindKeys(const std::string& strKeys, const std::string& strNeedle, size_t nFrom,
                size_t nTo = std::string::npos, size_t nProbe1 = 0,
                size_t nProbe2 = std::string::npos);
