// The kept-history file: what the writer records is what the reader gives back, in both modes
// and across restarts; the file stays within its size bound; a failed write is mended; and no
// damage, cut or splice makes the reader give an entry that was not written.

#include "FakePorts.h"
#include "history/HistoryFile.h"
#include "history/HistoryFileQueue.h"

#include <cstring>
#include <numeric>
#include <random>
#include <semaphore>
#include <tuple>

namespace {

// A protected key: the key and a check byte, refused when changed as the platform's protection
// refuses a blob of another account.
std::vector<uint8_t> Protect(const AeadKey& oKey) {
    std::vector<uint8_t> arr(oKey.begin(), oKey.end());
    arr.push_back(static_cast<uint8_t>(std::accumulate(oKey.begin(), oKey.end(), 0x5A) * 31));
    return arr;
}

std::optional<AeadKey> Unprotect(std::span<const uint8_t> blob) {
    AeadKey oKey{};
    if (blob.size() != kAeadKeySize + 1) {
        return std::nullopt;
    }
    std::copy_n(blob.begin(), kAeadKeySize, oKey.begin());
    return Protect(oKey).back() == blob.back() ? std::optional<AeadKey>(oKey) : std::nullopt;
}

// The file as the platform keeps it. A failing append writes half of its bytes, as a kill or a
// full disk does.
class CMemoryStore : public IHistoryFileStore {
public:
    std::vector<uint8_t> arrFile;
    bool bExists = false;
    int nFailAppends = 0, nFailReplaces = 0, nReplaces = 0;
    uint8_t nNextKey = 1;

    bool Append(std::span<const uint8_t> bytes) override {
        const bool bFail = nFailAppends-- > 0;
        arrFile.insert(arrFile.end(), bytes.begin(), bytes.end() - (bFail ? bytes.size() / 2 : 0));
        return bExists && !bFail;
    }
    std::optional<std::vector<uint8_t>> optNew; // the replacement being written
    bool BeginReplace() override {
        optNew.emplace();
        return true;
    }
    bool WriteReplacement(std::span<const uint8_t> bytes) override {
        optNew->insert(optNew->end(), bytes.begin(), bytes.end());
        return nFailReplaces-- <= 0;
    }
    bool EndReplace(bool bCommit) override {
        if (bCommit) {
            ++nReplaces;
            arrFile = std::move(*optNew);
            bExists = true;
        }
        optNew.reset();
        return true;
    }
    void Delete() override {
        arrFile.clear();
        bExists = false;
    }
    std::optional<HistoryFileKey> NewKey() override {
        HistoryFileKey oKey;
        oKey.oKey.fill(nNextKey++);
        oKey.arrProtected = Protect(oKey.oKey);
        return oKey;
    }
    LoadedHistory Read() const {
        std::vector<uint8_t> arrCopy = arrFile;
        return ReadHistoryFile(arrCopy, Unprotect);
    }
};

using Entries = std::vector<std::tuple<std::u16string, int64_t, bool>>;

Entries EntriesOf(const std::vector<CLIP_ITEM>& arr) {
    Entries arrOut;
    for (const CLIP_ITEM& o : arr) {
        arrOut.emplace_back(o.strText, o.tmCreated, o.bBookmark);
    }
    return arrOut;
}

// What the document keeps in a mode.
Entries KeptOf(const CKorvexDoc& oDoc, KeepMode nMode) {
    Entries arrOut;
    for (const CLIP_ITEM* p : oDoc.GetItems()) {
        if (nMode == KeepMode::All || p->bBookmark) {
            arrOut.emplace_back(p->strText, p->tmCreated, p->bBookmark);
        }
    }
    return arrOut;
}

class HistoryFile : public DocTest {
protected:
    void SetUp() override { NewDoc(); }
    void NewDoc() {
        Reset({});
        m_pDoc->SetClock([this] { return m_tmNow; });
    }
    void Attach(KeepMode nMode, const HistoryFileState& oState = {}) {
        m_pWriter = std::make_unique<CHistoryWriter>(*m_pDoc, m_oStore, nMode, oState);
        m_pDoc->SetJournal(m_pWriter.get());
    }
    // A new run: the document and writer start from the file.
    void Restart(KeepMode nMode) {
        m_pDoc->SetJournal(nullptr);
        LoadedHistory oLoaded = m_oStore.Read();
        EXPECT_FALSE(IsUnreadable(oLoaded.nStatus));
        NewDoc();
        m_pDoc->TakeLoadedEntries(std::move(oLoaded.arrEntries));
        Attach(nMode, oLoaded.oState);
    }
    // One random operation of the kinds the user makes, each followed by the notification of
    // the document's own write, if any.
    void RandomOperation(std::mt19937& oRandom) {
        const int32_t nCount = m_pDoc->GetItemCount();
        const auto nIndex = static_cast<int32_t>(oRandom() % std::max<uint32_t>(nCount, 1));
        const std::u16string strText(1 + oRandom() % 3 * 350,
                                     static_cast<char16_t>(u'a' + oRandom() % 26));
        ++m_tmNow;
        switch (nCount == 0 ? 0 : oRandom() % 12) {
        case 0:
        case 1:
        case 2:
            m_oClipboard.CopyFromOtherProgram(strText);
            break;
        case 3:
            m_pDoc->ActivateItem(nIndex);
            break;
        case 4:
            m_pDoc->RemoveItem(nIndex);
            break;
        case 5:
        case 6:
            m_pDoc->ToggleBookmark(nIndex);
            break;
        case 7:
            m_pDoc->ReplaceItemText(nIndex, strText);
            break;
        case 8:
            if (nCount >= 3) {
                m_pDoc->InvertItems(
                    {nIndex % (nCount - 2), nIndex % (nCount - 2) + 1, nIndex % (nCount - 2) + 2});
            }
            break;
        case 9:
            m_pDoc->RemoveItems({0, nCount - 1});
            break;
        case 10:
            if (oRandom() % 6 == 0) {
                oRandom() % 2 ? m_pDoc->ClearList() : m_pDoc->ClearBookmarks();
            }
            break;
        case 11:
            m_tmNow += 30;
            m_pDoc->ForgetUnbookmarked(60);
            break;
        }
        Notify();
    }

    int64_t m_tmNow = 1'700'000'000;
    CMemoryStore m_oStore;
    std::unique_ptr<CHistoryWriter> m_pWriter;
};

} // namespace

TEST_F(HistoryFile, EveryChangeIsReadBackInBothModesAcrossRestartsWithinTheSizeBound) {
    m_oSettings.nBufferSize = 12;
    NewDoc();
    std::mt19937 oRandom(20);
    const KeepMode aModes[] = {KeepMode::All, KeepMode::Bookmarked, KeepMode::All};
    Attach(KeepMode::All);
    for (int nStep = 0; nStep < 3000; ++nStep) {
        const KeepMode nMode = aModes[nStep / 1000];
        if (nStep % 1000 == 0) {
            m_pWriter->SetMode(nMode); // All to Bookmarked keeps only those; back keeps all
        }
        RandomOperation(oRandom);
        if (nStep % 97 == 0) {
            Restart(nMode);
        }
        const LoadedHistory oLoaded = m_oStore.Read();
        ASSERT_EQ(EntriesOf(oLoaded.arrEntries), KeptOf(*m_pDoc, nMode)) << nStep;
        ASSERT_EQ(oLoaded.nStatus, HistoryFileStatus::Read);
        ASSERT_EQ(m_oStore.arrFile.size(), m_pWriter->GetFileBytes());
        ASSERT_LE(m_pWriter->GetFileBytes(),
                  2 * m_pWriter->GetSnapshotBytes() + CHistoryWriter::kCompactionSlack);
    }
    // A restart with a smaller bound keeps the newest and rewrites the file to match.
    m_oSettings.nBufferSize = 2;
    Restart(KeepMode::All);
    EXPECT_LE(m_pDoc->GetItemCount(), 2);
    EXPECT_EQ(EntriesOf(m_oStore.Read().arrEntries), KeptOf(*m_pDoc, KeepMode::All));
    EXPECT_TRUE(m_oClipboard.arrWrites.empty()); // taking the loaded entries leaves it alone
    m_pWriter->SetMode(KeepMode::Nothing);
    EXPECT_FALSE(m_oStore.bExists);
    m_pDoc->AddItem(u"not kept");
    EXPECT_FALSE(m_oStore.bExists);
}

TEST_F(HistoryFile, AFailedWriteIsMendedByTheNextRewriteUnderANewKey) {
    Attach(KeepMode::All);
    m_pDoc->AddItem(u"one");
    m_oStore.nFailAppends = 1; // half of "two" reaches the disk, and the rewrite makes it whole
    m_pDoc->AddItem(u"two");
    EXPECT_EQ(m_oStore.Read().nStatus, HistoryFileStatus::Read);
    m_oStore.nFailAppends = 1;
    m_oStore.nFailReplaces = 1; // left with a torn tail: the first entries are still there
    m_pDoc->AddItem(u"three");
    EXPECT_FALSE(m_pWriter->IsWriting());
    LoadedHistory oLoaded = m_oStore.Read();
    EXPECT_EQ(oLoaded.nStatus, HistoryFileStatus::TornTail);
    EXPECT_EQ(oLoaded.arrEntries.size(), 2u);
    m_pDoc->AddItem(u"four"); // the next change writes the whole file again
    EXPECT_TRUE(m_pWriter->IsWriting());
    EXPECT_EQ(EntriesOf(m_oStore.Read().arrEntries), KeptOf(*m_pDoc, KeepMode::All));
    // A torn file read at start is written anew (its torn record's nonce is never used again).
    m_oStore.nFailAppends = 1;
    m_oStore.nFailReplaces = 1;
    m_pDoc->AddItem(u"five");
    const int nReplaces = m_oStore.nReplaces;
    Restart(KeepMode::All);
    EXPECT_EQ(m_oStore.nReplaces, nReplaces + 1);
    EXPECT_EQ(m_oStore.Read().nStatus, HistoryFileStatus::Read);
    EXPECT_EQ(m_pDoc->GetItemCount(), 4);
}

TEST(HistoryFileRead, EachKindOfFaultIsToldApartAndKeepsWhatCameBefore) {
    CFakeClipboard oClipboard;
    CFakeSettings oSettings;
    CKorvexDoc oDoc(oClipboard, oSettings);
    CMemoryStore oStore;
    CHistoryWriter oWriter(oDoc, oStore, KeepMode::All);
    oDoc.SetJournal(&oWriter);
    const size_t nHeader = oStore.arrFile.size();
    oDoc.AddItem(u"secret one");
    const size_t nFirst = oStore.arrFile.size();
    oDoc.AddItem(u"secret two");
    const std::vector<uint8_t> arrGood = oStore.arrFile;
    auto With = [&](auto fnChange) {
        std::vector<uint8_t> arr = arrGood;
        fnChange(arr);
        return arr;
    };
    struct Case {
        const char* pszName;
        std::vector<uint8_t> arrFile;
        HistoryFileStatus nStatus;
        size_t nEntries;
    };
    const Case aCases[] = {
        {"empty", {}, HistoryFileStatus::Empty, 0},
        {"whole", arrGood, HistoryFileStatus::Read, 2},
        {"cut in the last record", With([](auto& a) { a.pop_back(); }), HistoryFileStatus::TornTail,
         1},
        {"cut in its length", With([&](auto& a) { a.resize(nFirst + 5); }),
         HistoryFileStatus::TornTail, 1},
        {"zeros after a power loss",
         With([&](auto& a) { std::fill(a.begin() + nFirst, a.end(), 0); }),
         HistoryFileStatus::TornTail, 1},
        {"last tag changed", With([](auto& a) { a.back() ^= 1; }), HistoryFileStatus::TornTail, 1},
        {"first record changed", With([&](auto& a) { a[nHeader + 12] ^= 4; }),
         HistoryFileStatus::Damaged, 0},
        {"length changed", With([&](auto& a) { a[nFirst] ^= 1; }), HistoryFileStatus::Damaged, 1},
        {"cut in the header", With([](auto& a) { a.resize(10); }), HistoryFileStatus::NotAHistory,
         0},
        {"other magic", With([](auto& a) { a[0] = 'X'; }), HistoryFileStatus::NotAHistory, 0},
        {"later version", With([](auto& a) { a[8] = 2; }), HistoryFileStatus::LaterVersion, 0},
        {"another account", With([&](auto& a) { a[nHeader - 1] ^= 1; }),
         HistoryFileStatus::KeyUnreadable, 0},
        {"huge key blob", With([](auto& a) { a[15] = 0x7F; }), HistoryFileStatus::Damaged, 0},
    };
    for (const Case& c : aCases) {
        std::vector<uint8_t> arr = c.arrFile;
        const LoadedHistory oLoaded = ReadHistoryFile(arr, Unprotect);
        EXPECT_EQ(oLoaded.nStatus, c.nStatus) << c.pszName;
        ASSERT_EQ(oLoaded.arrEntries.size(), c.nEntries) << c.pszName;
        if (c.nEntries > 0) {
            EXPECT_EQ(oLoaded.arrEntries.back().strText, u"secret one") << c.pszName;
        }
    }
    // A file that cannot be read past its first record gives that one, and is damaged.
    size_t nRead = 0;
    const auto fnRead = [&](std::span<uint8_t> buffer) {
        std::memcpy(buffer.data(), arrGood.data() + nRead, buffer.size());
        return (nRead += buffer.size()) <= nFirst;
    };
    const LoadedHistory oStopped = ReadHistoryFile(arrGood.size(), fnRead, Unprotect);
    EXPECT_EQ(oStopped.nStatus, HistoryFileStatus::Damaged);
    EXPECT_EQ(oStopped.arrEntries.size(), 1u);
    // No text of an entry appears in the file, as UTF-16 or as UTF-8.
    for (const std::string& strPlain :
         {std::string("secret"), std::string("s\0e\0c\0r\0e\0t\0", 12)}) {
        EXPECT_EQ(std::search(arrGood.begin(), arrGood.end(), strPlain.begin(), strPlain.end()),
                  arrGood.end());
    }
}

TEST(HistoryFileRead, TenThousandMutatedFilesGiveOnlyWhatWasWrittenInOrder) {
    CFakeClipboard oClipboard;
    CFakeSettings oSettings;
    CMemoryStore aStores[2];
    aStores[1].nNextKey = 99;       // another file, under another key
    std::vector<size_t> arrEnds;    // the file's size after each change: one record each
    std::vector<Entries> arrStates; // and the list it holds then
    std::mt19937 oRandom(10000);
    for (CMemoryStore& oStore : aStores) {
        CKorvexDoc oDoc(oClipboard, oSettings);
        CHistoryWriter oWriter(oDoc, oStore, KeepMode::All);
        oDoc.SetJournal(&oWriter);
        arrEnds.assign(1, oStore.arrFile.size());
        arrStates.assign(1, {});
        for (int i = 0; i < 40; ++i) {
            if (i % 5 == 4) {
                oDoc.ToggleBookmark(static_cast<int32_t>(oRandom() % 4));
            } else if (i % 7 == 6) {
                oDoc.ActivateItem(oDoc.GetItemCount() - 1);
            } else {
                oDoc.AddItem(std::u16string(1 + oRandom() % 60, static_cast<char16_t>(u'a' + i)));
            }
            arrEnds.push_back(oStore.arrFile.size());
            arrStates.push_back(KeptOf(oDoc, KeepMode::All));
        }
        ASSERT_EQ(oStore.nReplaces, 1); // the file only grew: every end above is a record's end
    }
    std::swap(aStores[0], aStores[1]); // the ends and states are those of the file now first
    const std::vector<uint8_t>& arrGood = aStores[0].arrFile;
    auto Below = [&](size_t n) { return n == 0 ? 0 : oRandom() % n; };
    for (int nCase = 0; nCase < 10000; ++nCase) {
        std::vector<uint8_t> arr = arrGood;
        const size_t nAt = Below(arr.size());
        switch (nCase % 5) {
        case 0: // cut short
            arr.resize(nAt);
            break;
        case 1: // flipped bits
            for (size_t n = 1 + Below(3); n > 0; --n) {
                arr[Below(arr.size())] ^= static_cast<uint8_t>(1u << Below(8));
            }
            break;
        case 2: // a run of random bytes
            for (size_t n = std::min<size_t>(1 + Below(64), arr.size() - nAt); n > 0; --n) {
                arr[nAt + n - 1] = static_cast<uint8_t>(oRandom());
            }
            break;
        case 3: { // a record of this file or of the other moved or copied elsewhere
            const size_t k = 1 + Below(arrEnds.size() - 1);
            const std::vector<uint8_t>& arrFrom = aStores[oRandom() % 2].arrFile;
            const size_t nBegin = std::min(arrEnds[k - 1], arrFrom.size());
            const std::vector<uint8_t> arrRecord(
                arrFrom.begin() + nBegin, arrFrom.begin() + std::min(arrEnds[k], arrFrom.size()));
            if (oRandom() % 2) {
                arr.erase(arr.begin() + arrEnds[k - 1], arr.begin() + arrEnds[k]);
            }
            arr.insert(arr.begin() + std::min(arrEnds[Below(arrEnds.size())], arr.size()),
                       arrRecord.begin(), arrRecord.end());
            break;
        }
        default: // nothing but random bytes, sometimes behind the good header
            arr.resize(Below(4096));
            std::generate(arr.begin(), arr.end(), [&] { return static_cast<uint8_t>(oRandom()); });
            if (oRandom() % 2 && arr.size() >= arrEnds[0]) {
                std::copy_n(arrGood.begin(), arrEnds[0], arr.begin());
            }
            break;
        }
        const LoadedHistory oLoaded = ReadHistoryFile(arr, Unprotect);
        const auto it = std::find(arrEnds.begin(), arrEnds.end(), oLoaded.oState.nBytes);
        // What was read stops at the end of a written record and is the list it left.
        ASSERT_TRUE(oLoaded.oState.optKey ? it != arrEnds.end() : oLoaded.arrEntries.empty())
            << nCase;
        if (oLoaded.oState.optKey) {
            ASSERT_EQ(EntriesOf(oLoaded.arrEntries), arrStates[it - arrEnds.begin()]) << nCase;
        }
    }
}

// ---- The file calls off the recording thread --------------------------------------------------

TEST_F(HistoryFile, ThroughTheQueueEveryChangeIsReadBackOnceItIsDrained) {
    m_oSettings.nBufferSize = 12;
    NewDoc();
    CQueuedHistoryFileStore oQueue(m_oStore);
    CHistoryWriter oWriter(*m_pDoc, oQueue, KeepMode::All);
    m_pDoc->SetJournal(&oWriter);
    std::mt19937 oRandom(21);
    for (int nStep = 0; nStep < 1000; ++nStep) {
        RandomOperation(oRandom);
        if (nStep % 10 == 0) {
            oQueue.Drain();
            const LoadedHistory oLoaded = m_oStore.Read();
            ASSERT_EQ(oLoaded.nStatus, HistoryFileStatus::Read) << nStep;
            ASSERT_EQ(EntriesOf(oLoaded.arrEntries), KeptOf(*m_pDoc, KeepMode::All)) << nStep;
        }
    }
    m_pDoc->SetJournal(nullptr);
}

// Holds each append until the test lets it through.
struct CGatedStore : CMemoryStore {
    std::counting_semaphore<8> oGate{0};
    bool Append(std::span<const uint8_t> bytes) override {
        oGate.acquire();
        return CMemoryStore::Append(bytes);
    }
};

TEST(HistoryFileQueue, AFailedCallDropsTheAppendsAfterItAndIsToldAtTheNextCall) {
    CGatedStore oStore;
    oStore.bExists = true;
    oStore.nFailAppends = 1; // half of it reaches the file
    CQueuedHistoryFileStore oQueue(oStore);
    const std::vector<uint8_t> a(10, 'a'), b(4, 'b'), c(4, 'c'), d(6, 'd'), e(2, 'e');
    EXPECT_TRUE(oQueue.Append(a));
    EXPECT_TRUE(oQueue.Append(b)); // queued behind the append that is going to fail
    oStore.oGate.release(2);
    oQueue.Drain();
    EXPECT_EQ(oStore.arrFile, std::vector<uint8_t>(5, 'a'));
    EXPECT_FALSE(oQueue.Append(c)); // told, and not queued
    EXPECT_TRUE(oQueue.BeginReplace());
    EXPECT_TRUE(oQueue.WriteReplacement(d));
    EXPECT_TRUE(oQueue.EndReplace(true));
    EXPECT_TRUE(oQueue.Append(e));
    oStore.oGate.release();
    oQueue.Drain();
    EXPECT_EQ(oStore.arrFile, (std::vector<uint8_t>{'d', 'd', 'd', 'd', 'd', 'd', 'e', 'e'}));
}
