#include "history/HistoryFile.h"

#include "history/KorvexDoc.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <utility>

namespace {

constexpr uint8_t kMagic[8] = {'K', 'V', 'X', 'H', 'I', 'S', 'T', 0x1A};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderFixedBytes = sizeof(kMagic) + 4 + 4; // magic, version, key blob size
constexpr uint32_t kMaxProtectedKeyBytes = 64 * 1024;
constexpr size_t kLengthBytes = 8; // u32 length and its complement, masked
constexpr size_t kRecordOverhead = kLengthBytes + kAeadTagSize;

// The payload kinds: each is one change of the kept list.
enum RecordKind : uint8_t {
    kInsert = 1,         // u32 position, i64 time, u8 bookmark, text
    kRemove = 2,         // u32 position
    kMove = 3,           // u32 from, u32 to
    kReverse = 4,        // u32 first, u32 last
    kBookmark = 5,       // u32 position, u8 bookmark
    kText = 6,           // u32 position, text
    kClear = 7,          // nothing
    kClearBookmarks = 8, // nothing
};
// kInsert without its text's characters; a text is a u32 count of UTF-16 units, then the units.
constexpr uint64_t kInsertFixedBytes = 1 + 4 + 8 + 1 + 4;
constexpr uint64_t kMaxTextUnits = (std::numeric_limits<uint32_t>::max() - kInsertFixedBytes) / 2;

// The nonce of record n: n in the first eight bytes, and in the last one whether it seals the
// payload (0) or masks the length (1), so that the two key streams never meet.
AeadNonce NonceOf(uint64_t nRecord, uint8_t nDomain) {
    AeadNonce oNonce{};
    for (size_t i = 0; i < 8; ++i) {
        oNonce[i] = static_cast<uint8_t>(nRecord >> (8 * i));
    }
    oNonce[kAeadNonceSize - 1] = nDomain;
    return oNonce;
}

void PutU32(std::vector<uint8_t>& arr, uint32_t n) {
    for (int i = 0; i < 4; ++i) {
        arr.push_back(static_cast<uint8_t>(n >> (8 * i)));
    }
}

void PutI64(std::vector<uint8_t>& arr, int64_t n) {
    const auto u = static_cast<uint64_t>(n);
    for (int i = 0; i < 8; ++i) {
        arr.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
}

void PutText(std::vector<uint8_t>& arr, const std::u16string& strText) {
    PutU32(arr, static_cast<uint32_t>(strText.size()));
    const size_t nAt = arr.size();
    arr.resize(nAt + 2 * strText.size());
    uint8_t* p = arr.data() + nAt;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, strText.data(), 2 * strText.size());
    } else {
        for (const char16_t c : strText) {
            *p++ = static_cast<uint8_t>(c);
            *p++ = static_cast<uint8_t>(c >> 8);
        }
    }
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Appends the insert payload of the entry at nPosition to arr.
void PutInsertPayload(std::vector<uint8_t>& arr, uint32_t nPosition, const CLIP_ITEM& oItem) {
    arr.push_back(kInsert);
    PutU32(arr, nPosition);
    PutI64(arr, oItem.tmCreated);
    arr.push_back(oItem.bBookmark ? 1 : 0);
    PutText(arr, oItem.strText);
}

std::vector<uint8_t> Payload(RecordKind nKind, std::initializer_list<uint32_t> arrArgs) {
    std::vector<uint8_t> arr{nKind};
    for (const uint32_t n : arrArgs) {
        PutU32(arr, n);
    }
    return arr;
}

// Room for nMore bytes at the end of arr, growing it by half at least.
void MakeRoom(std::vector<uint8_t>& arr, size_t nMore) {
    if (arr.capacity() - arr.size() < nMore) {
        arr.reserve(std::max(arr.size() + nMore, arr.capacity() + arr.capacity() / 2));
    }
}

// Lays record nRecord out at the end of rOut: room for its length, the payload that fnPut
// appends (about nPayloadBytes), room for its tag.
template <typename PutFunction>
void LayOut(UnsealedRecords& rOut, uint64_t nRecord, size_t nPayloadBytes, PutFunction fnPut) {
    std::vector<uint8_t>& arr = rOut.arrBytes;
    const size_t nAt = arr.size();
    MakeRoom(arr, kRecordOverhead + nPayloadBytes);
    arr.resize(nAt + kLengthBytes);
    fnPut(arr);
    const size_t nLength = arr.size() - nAt - kLengthBytes;
    arr.resize(arr.size() + kAeadTagSize);
    rOut.arrRecords.push_back({nAt, static_cast<uint32_t>(nLength), nRecord});
}

void PutHeader(const std::vector<uint8_t>& arrProtectedKey, std::vector<uint8_t>& arrOut) {
    const size_t nAt = arrOut.size();
    arrOut.resize(nAt + sizeof(kMagic));
    std::memcpy(arrOut.data() + nAt, kMagic, sizeof(kMagic));
    PutU32(arrOut, kVersion);
    PutU32(arrOut, static_cast<uint32_t>(arrProtectedKey.size()));
    arrOut.insert(arrOut.end(), arrProtectedKey.begin(), arrProtectedKey.end());
}

// Reads the fields of one payload; every read is checked against its end.
class CPayloadReader {
public:
    explicit CPayloadReader(std::span<const uint8_t> payload) : m_payload(payload) {}
    bool U8(uint8_t& n) {
        if (m_nAt + 1 > m_payload.size()) {
            return false;
        }
        n = m_payload[m_nAt++];
        return true;
    }
    bool U32(uint32_t& n) {
        if (m_payload.size() - m_nAt < 4) {
            return false;
        }
        n = GetU32(m_payload.data() + m_nAt);
        m_nAt += 4;
        return true;
    }
    bool I64(int64_t& n) {
        uint32_t nLow = 0, nHigh = 0;
        if (!U32(nLow) || !U32(nHigh)) {
            return false;
        }
        n = static_cast<int64_t>(static_cast<uint64_t>(nHigh) << 32 | nLow);
        return true;
    }
    bool Flag(bool& b) {
        uint8_t n = 0;
        if (!U8(n) || n > 1) {
            return false;
        }
        b = n == 1;
        return true;
    }
    bool Text(std::u16string& strText) {
        uint32_t nUnits = 0;
        if (!U32(nUnits) || (m_payload.size() - m_nAt) / 2 < nUnits) {
            return false;
        }
        strText.resize(nUnits);
        const uint8_t* p = m_payload.data() + m_nAt;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(strText.data(), p, 2 * size_t{nUnits});
        } else {
            for (uint32_t i = 0; i < nUnits; ++i, p += 2) {
                strText[i] = static_cast<char16_t>(p[0] | p[1] << 8);
            }
        }
        m_nAt += 2 * static_cast<size_t>(nUnits);
        return true;
    }
    bool AtEnd() const { return m_nAt == m_payload.size(); }

private:
    std::span<const uint8_t> m_payload;
    size_t m_nAt = 0;
};

// Applies one authentic payload to the list; false when it makes no sense there (then the list
// is as it was).
bool ApplyPayload(std::span<const uint8_t> payload, std::vector<CLIP_ITEM>& arrList) {
    CPayloadReader oReader(payload);
    uint8_t nKind = 0;
    uint32_t nA = 0, nB = 0;
    const size_t nSize = arrList.size();
    if (!oReader.U8(nKind)) {
        return false;
    }
    switch (nKind) {
    case kInsert: {
        CLIP_ITEM oItem;
        if (!oReader.U32(nA) || !oReader.I64(oItem.tmCreated) || !oReader.Flag(oItem.bBookmark) ||
            !oReader.Text(oItem.strText) || !oReader.AtEnd() || nA > nSize) {
            return false;
        }
        arrList.insert(arrList.begin() + nA, std::move(oItem));
        return true;
    }
    case kRemove:
        if (!oReader.U32(nA) || !oReader.AtEnd() || nA >= nSize) {
            return false;
        }
        arrList.erase(arrList.begin() + nA);
        return true;
    case kMove:
    case kReverse:
        if (!oReader.U32(nA) || !oReader.U32(nB) || !oReader.AtEnd() || nA >= nSize ||
            nB >= nSize) {
            return false;
        }
        if (nKind == kReverse) {
            if (nA > nB) {
                return false;
            }
            std::reverse(arrList.begin() + nA, arrList.begin() + nB + 1);
        } else if (nA > nB) {
            std::rotate(arrList.begin() + nB, arrList.begin() + nA, arrList.begin() + nA + 1);
        } else {
            std::rotate(arrList.begin() + nA, arrList.begin() + nA + 1, arrList.begin() + nB + 1);
        }
        return true;
    case kBookmark: {
        bool bBookmark = false;
        if (!oReader.U32(nA) || !oReader.Flag(bBookmark) || !oReader.AtEnd() || nA >= nSize) {
            return false;
        }
        arrList[nA].bBookmark = bBookmark;
        return true;
    }
    case kText: {
        std::u16string strText;
        if (!oReader.U32(nA) || !oReader.Text(strText) || !oReader.AtEnd() || nA >= nSize) {
            return false;
        }
        arrList[nA].strText = std::move(strText);
        return true;
    }
    case kClear:
    case kClearBookmarks:
        if (!oReader.AtEnd()) {
            return false;
        }
        if (nKind == kClear) {
            arrList.clear();
        } else {
            for (CLIP_ITEM& oItem : arrList) {
                oItem.bBookmark = false;
            }
        }
        return true;
    default:
        return false;
    }
}

// Zeroes every byte the vector has room for, in a way the compiler keeps.
void WipeBytes(std::vector<uint8_t>& arr) {
    arr.resize(arr.capacity());
    volatile uint8_t* p = arr.data();
    for (size_t i = 0; i < arr.size(); ++i) {
        p[i] = 0;
    }
}

} // namespace

void SealRecords(UnsealedRecords& rRecords) {
    for (const UnsealedRecords::Record& o : rRecords.arrRecords) {
        uint8_t* p = rRecords.arrBytes.data() + o.nAt;
        for (int i = 0; i < 4; ++i) {
            p[i] = static_cast<uint8_t>(o.nLength >> (8 * i));
            p[4 + i] = static_cast<uint8_t>(~o.nLength >> (8 * i));
        }
        ChaCha20Xor(rRecords.oKey, NonceOf(o.nRecord, 1), 0, std::span<uint8_t>(p, kLengthBytes));
        const AeadTag oTag = AeadSeal(rRecords.oKey, NonceOf(o.nRecord, 0),
                                      std::span<const uint8_t>(p, kLengthBytes),
                                      std::span<uint8_t>(p + kLengthBytes, o.nLength));
        std::memcpy(p + kLengthBytes + o.nLength, oTag.data(), oTag.size());
    }
    rRecords.arrRecords.clear();
}

// ---- Reading ----------------------------------------------------------------------------------

LoadedHistory ReadHistoryFile(uint64_t nFileBytes, const HistoryFileReadFunction& fnRead,
                              const UnprotectKeyFunction& fnUnprotect) {
    LoadedHistory oLoaded;
    HistoryFileState& oState = oLoaded.oState;
    // The record being read, reused: its plain text is wiped before it is let go.
    std::vector<uint8_t> arrRecord;
    auto Finish = [&](HistoryFileStatus nStatus) {
        WipeBytes(arrRecord);
        oLoaded.nStatus = nStatus;
        oState.nEntries = oLoaded.arrEntries.size();
        oState.bClean = nStatus == HistoryFileStatus::Read;
        return std::move(oLoaded);
    };
    uint64_t nAt = 0; // the bytes read so far
    auto Read = [&](uint8_t* p, size_t nBytes) {
        if (nBytes > 0 && !fnRead(std::span<uint8_t>(p, nBytes))) {
            return false;
        }
        nAt += nBytes;
        return true;
    };
    // Whether the rest of the file, from what was read last (aLast), holds zeros only.
    auto RestIsZeros = [&](std::span<const uint8_t> last) {
        bool bZeros = std::all_of(last.begin(), last.end(), [](uint8_t n) { return n == 0; });
        uint8_t aChunk[4096];
        while (bZeros && nAt < nFileBytes) {
            const size_t nChunk =
                static_cast<size_t>(std::min<uint64_t>(sizeof aChunk, nFileBytes - nAt));
            bZeros = Read(aChunk, nChunk) &&
                     std::all_of(aChunk, aChunk + nChunk, [](uint8_t n) { return n == 0; });
        }
        return bZeros;
    };
    if (nFileBytes == 0) {
        return Finish(HistoryFileStatus::Empty);
    }
    uint8_t aHeader[kHeaderFixedBytes];
    if (nFileBytes < kHeaderFixedBytes) {
        return Finish(HistoryFileStatus::NotAHistory);
    }
    if (!Read(aHeader, kHeaderFixedBytes)) {
        return Finish(HistoryFileStatus::Damaged);
    }
    if (std::memcmp(aHeader, kMagic, sizeof(kMagic)) != 0) {
        return Finish(HistoryFileStatus::NotAHistory);
    }
    const uint32_t nVersion = GetU32(aHeader + sizeof(kMagic));
    if (nVersion != kVersion) {
        return Finish(nVersion > kVersion ? HistoryFileStatus::LaterVersion
                                          : HistoryFileStatus::Damaged);
    }
    const uint32_t nBlobBytes = GetU32(aHeader + sizeof(kMagic) + 4);
    if (nBlobBytes > kMaxProtectedKeyBytes || nFileBytes - kHeaderFixedBytes < nBlobBytes) {
        return Finish(HistoryFileStatus::Damaged);
    }
    oState.arrProtectedKey.resize(nBlobBytes);
    if (!Read(oState.arrProtectedKey.data(), nBlobBytes)) {
        oState.arrProtectedKey.clear();
        return Finish(HistoryFileStatus::Damaged);
    }
    std::optional<AeadKey> optKey =
        fnUnprotect ? fnUnprotect(oState.arrProtectedKey) : std::nullopt;
    if (!optKey) {
        oState.arrProtectedKey.clear();
        return Finish(HistoryFileStatus::KeyUnreadable);
    }
    const AeadKey& oKey = *optKey;
    oState.optKey = optKey;
    oState.nBytes = nAt;
    std::vector<CLIP_ITEM>& arrList = oLoaded.arrEntries;
    for (;;) {
        const uint64_t nLeft = nFileBytes - nAt;
        if (nLeft == 0) {
            return Finish(HistoryFileStatus::Read);
        }
        if (nLeft < kLengthBytes) {
            return Finish(HistoryFileStatus::TornTail);
        }
        uint8_t aMasked[kLengthBytes]; // as stored: the associated data
        if (!Read(aMasked, kLengthBytes)) {
            return Finish(HistoryFileStatus::Damaged);
        }
        uint8_t aLength[kLengthBytes];
        std::memcpy(aLength, aMasked, kLengthBytes);
        ChaCha20Xor(oKey, NonceOf(oState.nRecords, 1), 0, aLength);
        const uint32_t nLength = GetU32(aLength);
        if (GetU32(aLength + 4) != ~nLength) {
            // A power loss can leave the end of the file zero-filled: that is a torn tail too.
            return Finish(RestIsZeros(aMasked) ? HistoryFileStatus::TornTail
                                               : HistoryFileStatus::Damaged);
        }
        if (nLeft < kRecordOverhead || nLeft - kRecordOverhead < nLength) {
            return Finish(HistoryFileStatus::TornTail);
        }
        const size_t nSealed = size_t{nLength} + kAeadTagSize;
        if (nSealed > arrRecord.capacity()) {
            // Grown only ever, the old buffer wiped first.
            WipeBytes(arrRecord);
            arrRecord = std::vector<uint8_t>();
            arrRecord.reserve(nSealed);
        }
        arrRecord.resize(nSealed);
        if (!Read(arrRecord.data(), nSealed)) {
            return Finish(HistoryFileStatus::Damaged);
        }
        const std::span<uint8_t> data(arrRecord.data(), nLength);
        AeadTag oTag;
        std::memcpy(oTag.data(), arrRecord.data() + nLength, oTag.size());
        const bool bLast = nAt == nFileBytes;
        if (!AeadOpen(oKey, NonceOf(oState.nRecords, 0), aMasked, data, oTag)) {
            return Finish(bLast ? HistoryFileStatus::TornTail : HistoryFileStatus::Damaged);
        }
        if (!ApplyPayload(data, arrList)) {
            return Finish(HistoryFileStatus::Damaged);
        }
        ++oState.nRecords;
        oState.nBytes = nAt;
    }
}

LoadedHistory ReadHistoryFile(std::span<const uint8_t> file,
                              const UnprotectKeyFunction& fnUnprotect) {
    size_t nAt = 0;
    return ReadHistoryFile(
        file.size(),
        [&](std::span<uint8_t> buffer) {
            std::memcpy(buffer.data(), file.data() + nAt, buffer.size());
            nAt += buffer.size();
            return true;
        },
        fnUnprotect);
}

// ---- Writing ----------------------------------------------------------------------------------

CHistoryWriter::CHistoryWriter(CKorvexDoc& rDoc, IHistoryFileStore& rStore, KeepMode nMode,
                               const HistoryFileState& oState)
    : m_rDoc(rDoc), m_rStore(rStore), m_nMode(nMode) {
    if (m_nMode == KeepMode::Nothing) {
        return;
    }
    RebuildSlots();
    // The file read at start goes on only when it holds exactly what is kept now; otherwise (a
    // torn or damaged end, entries beyond the bound, the other mode) it is written anew, which
    // also takes a new key: the nonce of a torn record must not seal anything else.
    const bool bAllKept = std::all_of(m_arrSlots.begin(), m_arrSlots.end(),
                                      [](const Slot& oSlot) { return oSlot.bKept; });
    if (oState.bClean && oState.optKey && oState.nEntries == m_arrSlots.size() && bAllKept) {
        m_oKey = {*oState.optKey, oState.arrProtectedKey};
        m_nHeaderBytes = kHeaderFixedBytes + m_oKey.arrProtected.size();
        m_nRecords = oState.nRecords;
        m_nFileBytes = oState.nBytes;
        if (m_nFileBytes > 2 * GetSnapshotBytes() + kCompactionSlack) {
            Rewrite();
        }
    } else {
        Rewrite();
    }
}

uint64_t CHistoryWriter::GetSnapshotBytes() const {
    return m_nHeaderBytes + m_nKeptBytes;
}

CHistoryWriter::Slot CHistoryWriter::SlotOf(const CLIP_ITEM& oItem) const {
    const bool bKept =
        oItem.strText.size() <= kMaxTextUnits &&
        (m_nMode == KeepMode::All || (m_nMode == KeepMode::Bookmarked && oItem.bBookmark));
    return {bKept, kRecordOverhead + kInsertFixedBytes + 2 * uint64_t{oItem.strText.size()}};
}

uint32_t CHistoryWriter::FilePosition(size_t nDocIndex) const {
    const auto itEnd =
        m_arrSlots.begin() + static_cast<ptrdiff_t>(std::min(nDocIndex, m_arrSlots.size()));
    return static_cast<uint32_t>(
        std::count_if(m_arrSlots.begin(), itEnd, [](const Slot& oSlot) { return oSlot.bKept; }));
}

void CHistoryWriter::RebuildSlots() {
    m_arrSlots.clear();
    m_nKeptBytes = 0;
    for (const CLIP_ITEM* pItem : m_rDoc.GetItems()) {
        m_arrSlots.push_back(SlotOf(*pItem));
        m_nKeptBytes += m_arrSlots.back().bKept ? m_arrSlots.back().nRecordBytes : 0;
    }
}

void CHistoryWriter::SetMode(KeepMode nMode) {
    if (nMode == m_nMode) {
        return;
    }
    m_nMode = nMode;
    if (nMode == KeepMode::Nothing) {
        m_arrSlots.clear();
        m_nKeptBytes = 0;
        m_rStore.Delete();
        return;
    }
    RebuildSlots();
    Rewrite();
}

void CHistoryWriter::Rewrite() {
    m_oPending.Clear();
    m_bFailed = true;
    std::optional<HistoryFileKey> optKey = m_rStore.NewKey();
    if (!optKey || optKey->arrProtected.size() > kMaxProtectedKeyBytes ||
        !m_rStore.BeginReplace()) {
        return;
    }
    m_oKey = std::move(*optKey);
    m_nHeaderBytes = kHeaderFixedBytes + m_oKey.arrProtected.size();
    m_nFileBytes = 0;
    m_nRecords = 0;
    // Written in pieces of about kPieceBytes (or one record, if larger), sealed by the store.
    constexpr size_t kPieceBytes = 256 * 1024;
    UnsealedRecords oPiece;
    PutHeader(m_oKey.arrProtected, oPiece.arrBytes);
    bool bWritten = true;
    auto WritePiece = [&] {
        const size_t nBytes = oPiece.arrBytes.size();
        oPiece.oKey = m_oKey.oKey;
        bWritten = bWritten && m_rStore.WriteReplacementRecords(oPiece);
        m_nFileBytes += nBytes;
        oPiece.Clear();
    };
    const std::vector<const CLIP_ITEM*> arrItems = m_rDoc.GetItems();
    for (size_t i = 0; i < arrItems.size() && i < m_arrSlots.size() && bWritten; ++i) {
        if (m_arrSlots[i].bKept) {
            PutInsert(oPiece, static_cast<uint32_t>(m_nRecords), *arrItems[i]);
            if (oPiece.arrBytes.size() >= kPieceBytes) {
                WritePiece();
            }
        }
    }
    WritePiece();
    m_bFailed = !m_rStore.EndReplace(bWritten) || !bWritten;
}

void CHistoryWriter::PutInsert(UnsealedRecords& rOut, uint32_t nPosition, const CLIP_ITEM& oItem) {
    LayOut(rOut, m_nRecords++, kInsertFixedBytes + 2 * oItem.strText.size(),
           [&](std::vector<uint8_t>& arr) { PutInsertPayload(arr, nPosition, oItem); });
}

void CHistoryWriter::Emit(std::vector<uint8_t>& arrPayload) {
    LayOut(m_oPending, m_nRecords++, arrPayload.size(), [&](std::vector<uint8_t>& arr) {
        arr.insert(arr.end(), arrPayload.begin(), arrPayload.end());
    });
}

void CHistoryWriter::Flush() {
    if (m_bFailed) {
        // The file may end in a half-written record sealed under the current key: start anew.
        Rewrite();
        return;
    }
    if (!m_oPending.arrBytes.empty()) {
        const size_t nPending = m_oPending.arrBytes.size();
        m_oPending.oKey = m_oKey.oKey;
        const bool bAppended = m_rStore.AppendRecords(m_oPending);
        m_oPending.Clear();
        if (!bAppended) {
            Rewrite();
            return;
        }
        m_nFileBytes += nPending;
    }
    if (m_nFileBytes > 2 * GetSnapshotBytes() + kCompactionSlack) {
        Rewrite();
    }
}

void CHistoryWriter::OnHistoryChange(const HistoryChange& oChange) {
    if (m_nMode == KeepMode::Nothing) {
        return;
    }
    const size_t nCount = m_arrSlots.size();
    const auto nIndex = static_cast<size_t>(std::max(oChange.nIndex, 0));
    const auto nIndex2 = static_cast<size_t>(std::max(oChange.nIndex2, 0));
    auto Item = [&](size_t n) -> const CLIP_ITEM* {
        return m_rDoc.FindItem(static_cast<int32_t>(n));
    };
    auto Keep = [&](const Slot& oSlot, int nSign) {
        if (oSlot.bKept) {
            m_nKeptBytes =
                nSign > 0 ? m_nKeptBytes + oSlot.nRecordBytes : m_nKeptBytes - oSlot.nRecordBytes;
        }
    };
    std::vector<uint8_t> arrPayload;
    switch (oChange.nKind) {
    case HistoryChangeKind::Inserted: {
        const CLIP_ITEM* pItem = Item(nIndex);
        if (pItem == nullptr || nIndex > nCount) {
            break;
        }
        const Slot oSlot = SlotOf(*pItem);
        m_arrSlots.insert(m_arrSlots.begin() + static_cast<ptrdiff_t>(nIndex), oSlot);
        Keep(oSlot, +1);
        if (oSlot.bKept) {
            PutInsert(m_oPending, FilePosition(nIndex), *pItem);
        }
        break;
    }
    case HistoryChangeKind::Removed: {
        if (nIndex >= nCount) {
            break;
        }
        const Slot oSlot = m_arrSlots[nIndex];
        const uint32_t nPosition = FilePosition(nIndex);
        m_arrSlots.erase(m_arrSlots.begin() + static_cast<ptrdiff_t>(nIndex));
        Keep(oSlot, -1);
        if (oSlot.bKept) {
            arrPayload = Payload(kRemove, {nPosition});
            Emit(arrPayload);
        }
        break;
    }
    case HistoryChangeKind::Moved: {
        if (nIndex >= nCount || nIndex2 >= nCount) {
            break;
        }
        const Slot oSlot = m_arrSlots[nIndex];
        const uint32_t nFrom = FilePosition(nIndex);
        m_arrSlots.erase(m_arrSlots.begin() + static_cast<ptrdiff_t>(nIndex));
        m_arrSlots.insert(m_arrSlots.begin() + static_cast<ptrdiff_t>(nIndex2), oSlot);
        const uint32_t nTo = FilePosition(nIndex2);
        if (oSlot.bKept && nFrom != nTo) {
            arrPayload = Payload(kMove, {nFrom, nTo});
            Emit(arrPayload);
        }
        break;
    }
    case HistoryChangeKind::Reversed: {
        if (nIndex > nIndex2 || nIndex2 >= nCount) {
            break;
        }
        const uint32_t nFirst = FilePosition(nIndex);
        const uint32_t nEnd = FilePosition(nIndex2 + 1);
        std::reverse(m_arrSlots.begin() + static_cast<ptrdiff_t>(nIndex),
                     m_arrSlots.begin() + static_cast<ptrdiff_t>(nIndex2) + 1);
        if (nEnd > nFirst + 1) {
            arrPayload = Payload(kReverse, {nFirst, nEnd - 1});
            Emit(arrPayload);
        }
        break;
    }
    case HistoryChangeKind::TextChanged:
    case HistoryChangeKind::BookmarkChanged: {
        const CLIP_ITEM* pItem = Item(nIndex);
        if (pItem == nullptr || nIndex >= nCount) {
            break;
        }
        const Slot oOld = m_arrSlots[nIndex];
        const Slot oNew = SlotOf(*pItem);
        const uint32_t nPosition = FilePosition(nIndex);
        m_arrSlots[nIndex] = oNew;
        Keep(oOld, -1);
        Keep(oNew, +1);
        if (oOld.bKept && oNew.bKept) {
            if (oChange.nKind == HistoryChangeKind::TextChanged) {
                arrPayload = Payload(kText, {nPosition});
                PutText(arrPayload, pItem->strText);
            } else {
                arrPayload = Payload(kBookmark, {nPosition});
                arrPayload.push_back(pItem->bBookmark ? 1 : 0);
            }
        } else if (oOld.bKept) {
            arrPayload = Payload(kRemove, {nPosition});
        } else if (oNew.bKept) {
            PutInsert(m_oPending, nPosition, *pItem);
        }
        if (!arrPayload.empty()) {
            Emit(arrPayload);
        }
        break;
    }
    case HistoryChangeKind::BookmarksCleared:
    case HistoryChangeKind::Cleared: {
        const bool bHadKept = m_nKeptBytes > 0;
        RebuildSlots();
        if (bHadKept) {
            // With only the bookmarked entries kept, clearing the bookmarks empties the file.
            const bool bEmptied = oChange.nKind == HistoryChangeKind::Cleared || m_nKeptBytes == 0;
            arrPayload = Payload(bEmptied ? kClear : kClearBookmarks, {});
            Emit(arrPayload);
        }
        break;
    }
    case HistoryChangeKind::Replaced:
        RebuildSlots();
        Rewrite();
        return;
    }
    if (m_arrSlots.size() != static_cast<size_t>(m_rDoc.GetItemCount())) {
        // A change the slots did not follow: write what the document holds.
        RebuildSlots();
        Rewrite();
        return;
    }
    Flush();
}
