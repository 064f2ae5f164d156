#pragma once
// The kept history: the file that holds the entries between runs, encrypted and safe against a
// kill at any moment. The core turns the document's changes into records and reads a file's
// bytes back into entries; the platform reads, appends, replaces and deletes the file and
// protects its key for the user (docs/history-file.md describes the format).

#include "history/ChaCha20Poly1305.h"
#include "history/ClipItem.h"
#include "history/HistoryPorts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class CKorvexDoc;

// What is kept between runs ("KeepHistory").
enum class KeepMode : uint32_t {
    Nothing = 0,
    Bookmarked = 1,
    All = 2,
};

// A file key: the raw key the records are sealed with, and the same key as the platform
// protected it for the user (stored in the file's header as an opaque blob).
struct HistoryFileKey {
    AeadKey oKey{};
    std::vector<uint8_t> arrProtected;
};

// What reading a file found.
enum class HistoryFileStatus {
    Empty,         // no bytes at all: nothing kept yet
    Read,          // every record was read
    TornTail,      // every record but a half-written last one, which was dropped
    NotAHistory,   // not a history file at all (or its header is cut short)
    LaterVersion,  // written by a later version
    KeyUnreadable, // the key could not be unprotected: another account, another machine
    Damaged,       // a record failed its checks before the end: the entries before it are read
};

// Whether the platform keeps the file aside (History.dat.unreadable) and tells the user.
inline bool IsUnreadable(HistoryFileStatus nStatus) {
    return nStatus != HistoryFileStatus::Empty && nStatus != HistoryFileStatus::Read &&
           nStatus != HistoryFileStatus::TornTail;
}

// Where a read file stands, for a writer that goes on appending to it.
struct HistoryFileState {
    std::optional<AeadKey> optKey; // none: the file cannot be appended to
    std::vector<uint8_t> arrProtectedKey;
    uint64_t nRecords = 0; // records read
    uint64_t nBytes = 0;   // bytes up to the end of the last record read
    size_t nEntries = 0;   // entries they hold
    bool bClean = false;   // the file holds exactly those records, nothing after them
};

struct LoadedHistory {
    HistoryFileStatus nStatus = HistoryFileStatus::Empty;
    std::vector<CLIP_ITEM> arrEntries; // head first
    HistoryFileState oState;
};

// Unprotects the key blob of a header; none when it cannot (another account, damaged blob).
using UnprotectKeyFunction = std::function<std::optional<AeadKey>(std::span<const uint8_t>)>;

// Fills the buffer with the file's next bytes, in order from its start; false when they
// cannot be read. Never asked for bytes past the file's size.
using HistoryFileReadFunction = std::function<bool(std::span<uint8_t>)>;

// Reads a file of nFileBytes bytes through fnRead, one record at a time (one small buffer,
// reused and wiped at the end, holds the record being read: the file is never held whole).
// Never throws on any content; a file that fails its checks gives the entries read before the
// fault, and so does one that cannot be read on (Damaged).
LoadedHistory ReadHistoryFile(uint64_t nFileBytes, const HistoryFileReadFunction& fnRead,
                              const UnprotectKeyFunction& fnUnprotect);
// The same for a file in memory.
LoadedHistory ReadHistoryFile(std::span<const uint8_t> file,
                              const UnprotectKeyFunction& fnUnprotect);

// Records laid out but not sealed yet, one after another: each one's room for its length, its
// plain payload, room for its tag. Bytes between them (a header) are left as they are.
struct UnsealedRecords {
    struct Record {
        size_t nAt;       // where it starts in arrBytes
        uint32_t nLength; // its payload's bytes
        uint64_t nRecord; // its number in the file (its nonce)
    };
    std::vector<uint8_t> arrBytes;
    std::vector<Record> arrRecords;
    AeadKey oKey{}; // the file's key, which seals them
    void Clear() {
        arrBytes.clear();
        arrRecords.clear();
    }
};

// Seals the records where they stand: arrBytes then holds them as the file does.
void SealRecords(UnsealedRecords& rRecords);

// The platform's side of the file. Each call either does all it says or reports false.
class IHistoryFileStore {
public:
    virtual ~IHistoryFileStore() = default;
    // Appends the bytes to the file and flushes them to the disk.
    virtual bool Append(std::span<const uint8_t> bytes) = 0;
    // Seals the records and appends them as Append does. The store may take their buffers and
    // leave others in their place, which the caller clears.
    virtual bool AppendRecords(UnsealedRecords& rRecords) {
        SealRecords(rRecords);
        return Append(rRecords.arrBytes);
    }
    // Replaces the whole file at once, piece by piece (a large history is never held twice in
    // memory): BeginReplace starts a new file beside it, WriteReplacement adds bytes to that,
    // EndReplace(true) flushes it and renames it over the file, so that a kill leaves either the
    // old file or the new one. EndReplace(false) discards the new file; it ends every begun
    // replacement, also after a failed write.
    virtual bool BeginReplace() = 0;
    virtual bool WriteReplacement(std::span<const uint8_t> bytes) = 0;
    // Seals the records and writes them as WriteReplacement does (as AppendRecords).
    virtual bool WriteReplacementRecords(UnsealedRecords& rRecords) {
        SealRecords(rRecords);
        return WriteReplacement(rRecords.arrBytes);
    }
    virtual bool EndReplace(bool bCommit) = 0;
    // Deletes the file.
    virtual void Delete() = 0;
    // A fresh random key and its protected form; none when none can be made.
    virtual std::optional<HistoryFileKey> NewKey() = 0;
};

// Turns the document's changes into records of the file. Attach it as the document's journal
// after the loaded entries are taken; it holds which entries are kept (all, or the bookmarked
// ones) and rewrites the file as one snapshot, under a new key, whenever the file would hold
// more than twice what it keeps plus kCompactionSlack bytes, when the mode changes and when
// the file it started with cannot be continued.
class CHistoryWriter : public IHistoryJournal {
public:
    static constexpr uint64_t kCompactionSlack = 4096;

    // oState is what reading the file gave (the default: no file yet).
    CHistoryWriter(CKorvexDoc& rDoc, IHistoryFileStore& rStore, KeepMode nMode,
                   const HistoryFileState& oState = {});
    CHistoryWriter(const CHistoryWriter&) = delete;
    CHistoryWriter& operator=(const CHistoryWriter&) = delete;

    // Nothing deletes the file and records no more; All to Bookmarked keeps only those.
    void SetMode(KeepMode nMode);
    KeepMode GetMode() const { return m_nMode; }
    void OnHistoryChange(const HistoryChange& oChange) override;

    uint64_t GetFileBytes() const { return m_nFileBytes; } // what the file holds now
    uint64_t GetSnapshotBytes() const;                     // what a rewrite would hold
    bool IsWriting() const { return !m_bFailed; }          // false: the last write failed

private:
    struct Slot {
        bool bKept = false;
        uint64_t nRecordBytes = 0; // the size of the entry's record in a snapshot
    };
    Slot SlotOf(const CLIP_ITEM& oItem) const;
    uint32_t FilePosition(size_t nDocIndex) const; // kept entries before the document's index
    void RebuildSlots();
    void Rewrite();
    void Emit(std::vector<uint8_t>& arrPayload);
    // Lays out the insert of the entry at nPosition as the next record.
    void PutInsert(UnsealedRecords& rOut, uint32_t nPosition, const CLIP_ITEM& oItem);
    void Flush();

    CKorvexDoc& m_rDoc;
    IHistoryFileStore& m_rStore;
    KeepMode m_nMode;
    std::vector<Slot> m_arrSlots; // one for each entry of the document, in its order
    uint64_t m_nKeptBytes = 0;    // the sum of the kept slots' record bytes
    HistoryFileKey m_oKey;
    uint64_t m_nHeaderBytes = 0;
    uint64_t m_nRecords = 0;
    uint64_t m_nFileBytes = 0;
    bool m_bFailed = false;     // the file is not what the records say: rewrite it
    UnsealedRecords m_oPending; // the records of the change being recorded
};
