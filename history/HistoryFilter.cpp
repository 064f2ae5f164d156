#include "history/HistoryFilter.h"

#include "history/KorvexDoc.h"
#include "history/TextTransforms.h"

#include <algorithm>
#include <cstring>

char16_t DefaultCaseFold(char16_t ch) {
    const auto Plus = [ch](int n) { return static_cast<char16_t>(ch + n); };
    // Ranges where capitals and small letters alternate, the capital first.
    const auto Pair = [ch](bool bCapitalOdd) {
        return static_cast<char16_t>((ch & 1) == (bCapitalOdd ? 1 : 0) ? ch + 1 : ch);
    };
    if (ch < 0x80) {
        return ch >= u'A' && ch <= u'Z' ? Plus(0x20) : ch;
    }
    if (ch < 0x100) {
        if (ch == 0xB5) {
            return u'\u03BC'; // micro sign: mu
        }
        return ch >= 0xC0 && ch <= 0xDE && ch != 0xD7 ? Plus(0x20) : ch;
    }
    if (ch < 0x180) {
        switch (ch) {
        case 0x130:
            return u'i'; // capital I with dot: one unit cannot keep the dot
        case 0x131:
        case 0x138:
        case 0x149:
            return ch; // dotless i, kra, apostrophe n: small letters without a pair
        case 0x178:
            return u'\u00FF';
        case 0x17F:
            return u's';
        default:
            break;
        }
        const bool bCapitalOdd = (ch >= 0x139 && ch <= 0x148) || ch >= 0x179;
        return Pair(bCapitalOdd);
    }
    if (ch >= 0x386 && ch <= 0x3AB) { // Greek capitals, with and without tonos
        if (ch == 0x386) {
            return u'\u03AC';
        }
        if (ch >= 0x388 && ch <= 0x38A) {
            return Plus(0x25);
        }
        if (ch == 0x38C) {
            return u'\u03CC';
        }
        if (ch == 0x38E || ch == 0x38F) {
            return Plus(0x3F);
        }
        return ch >= 0x391 && ch != 0x3A2 ? Plus(0x20) : ch;
    }
    if (ch == 0x3C2) {
        return u'\u03C3'; // final sigma: sigma
    }
    if (ch >= 0x400 && ch <= 0x40F) {
        return Plus(0x50);
    }
    if (ch >= 0x410 && ch <= 0x42F) {
        return Plus(0x20);
    }
    if ((ch >= 0x460 && ch <= 0x481) || (ch >= 0x48A && ch <= 0x4BF) ||
        (ch >= 0x4D0 && ch <= 0x4FF)) {
        return Pair(false);
    }
    return ch;
}

// ---- CCaseFolding -----------------------------------------------------------------------------

CCaseFolding::CCaseFolding(const CaseFold& fnFold) : m_arrFold(0x10000), m_arrKey(0x10000) {
    for (size_t i = 0; i < m_arrFold.size(); ++i) {
        const char16_t chFolded = fnFold ? fnFold(static_cast<char16_t>(i)) : char16_t(i);
        m_arrFold[i] = chFolded;
        m_arrKey[i] = static_cast<unsigned char>(
            chFolded < 0x80 ? chFolded
                            : 0x80 | ((chFolded ^ (chFolded >> 7) ^ (chFolded >> 14)) & 0x7F));
    }
}

std::u16string CCaseFolding::FoldText(const std::u16string& strText) const {
    std::u16string strFolded(strText.size(), u'\0');
    for (size_t i = 0; i < strText.size(); ++i) {
        strFolded[i] = Fold(strText[i]);
    }
    return strFolded;
}

std::string CCaseFolding::KeysOf(const std::u16string& strText) const {
    std::string strKeys(strText.size(), '\0');
    for (size_t i = 0; i < strText.size(); ++i) {
        strKeys[i] = static_cast<char>(Key(strText[i]));
    }
    return strKeys;
}

// ---- CFoldedHistory ---------------------------------------------------------------------------

CFoldedHistory::CFoldedHistory(const CKorvexDoc& rDoc, const CaseFold& fnFold, bool bFoldLater)
    : m_rDoc(rDoc), m_pFolding(std::make_unique<CCaseFolding>(fnFold)), m_bPending(bFoldLater) {
    OnHistoryChanged(HistoryHint::WholeList());
}

bool CFoldedHistory::IsFolded(const CLIP_ITEM& item) const {
    const auto it = m_mapFolded.find(&item);
    return it != m_mapFolded.end() && it->second.nRevision == item.nRevision &&
           it->second.strKeys.size() == item.strText.size();
}

bool CFoldedHistory::FoldPending(size_t nUnits) {
    if (!m_bPending) {
        return false;
    }
    size_t nDone = 0;
    for (const CLIP_ITEM* pItem : m_rDoc.GetItems()) {
        if (nDone >= nUnits) {
            return true;
        }
        if (!IsFolded(*pItem)) {
            Get(*pItem);
            nDone += pItem->strText.size() + 1;
        }
    }
    m_bPending = false;
    return false;
}

void CFoldedHistory::SetCaseFold(const CaseFold& fnFold) {
    m_pFolding = std::make_unique<CCaseFolding>(fnFold);
    m_mapFolded.clear();
    m_arrKeyCounts.fill(0);
    OnHistoryChanged(HistoryHint::WholeList());
}

const FOLDED_TEXT& CFoldedHistory::Get(const CLIP_ITEM& item) {
    FOLDED_TEXT& rFolded = m_mapFolded[&item];
    // A text written past SetText keeps its revision; its length still tells most such changes,
    // and the keys must never be shorter than the text they are read beside.
    if (rFolded.nRevision == item.nRevision && rFolded.strKeys.size() == item.strText.size()) {
        return rFolded;
    }
    Count(rFolded.strKeys, false);
    rFolded.nRevision = item.nRevision;
    rFolded.strKeys = m_pFolding->KeysOf(item.strText);
    Count(rFolded.strKeys, true);
    const std::string& strKeys = rFolded.strKeys;
    const size_t nBlocks = (strKeys.size() + kFoldBlock - 1) / kFoldBlock;
    rFolded.arrSieves.assign(nBlocks * kSieveWords, 0);
    for (size_t nBlock = 0; nBlock < nBlocks; ++nBlock) {
        uint64_t* pSieve = rFolded.arrSieves.data() + nBlock * kSieveWords;
        const auto Set = [pSieve](uint32_t nBit) {
            pSieve[nBit >> 6] |= uint64_t{1} << (nBit & 63);
        };
        const size_t nEnd = std::min(strKeys.size(), (nBlock + 1) * kFoldBlock + kFoldOverlap);
        for (size_t i = nBlock * kFoldBlock; i < nEnd; ++i) {
            const auto nKey = static_cast<unsigned char>(strKeys[i]);
            Set(SieveBit(nKey));
            if (i + 1 < strKeys.size()) {
                Set(SieveBit(nKey, static_cast<unsigned char>(strKeys[i + 1])));
            }
        }
    }
    return rFolded;
}

void CFoldedHistory::Count(const std::string& strKeys, bool bAdd) {
    for (const char chKey : strKeys) {
        uint64_t& rCount = m_arrKeyCounts[static_cast<unsigned char>(chKey)];
        rCount = bAdd ? rCount + 1 : rCount - 1;
    }
}

size_t CFoldedHistory::GetHeldBytes() const {
    size_t nBytes = 0;
    for (const auto& [pItem, oFolded] : m_mapFolded) {
        nBytes += oFolded.strKeys.size() + oFolded.arrSieves.size() * sizeof(uint64_t);
    }
    return nBytes;
}

void CFoldedHistory::OnHistoryChanged(HistoryHint) {
    // Either kind of hint: new and changed entries are folded (their revision tells them), gone
    // ones dropped. Looking the entries up costs little beside folding one.
    const std::vector<const CLIP_ITEM*> arrItems = m_rDoc.GetItems();
    std::unordered_map<const CLIP_ITEM*, FOLDED_TEXT> mapKept;
    for (const CLIP_ITEM* pItem : arrItems) {
        auto node = m_mapFolded.extract(pItem);
        if (!node.empty()) {
            mapKept.insert(std::move(node));
        }
    }
    m_mapFolded.swap(mapKept);
    for (const auto& [pItem, oFolded] : mapKept) { // the entries that are gone
        Count(oFolded.strKeys, false);
    }
    for (const CLIP_ITEM* pItem : arrItems) {
        // While some are left for later, only the ones folded before are kept up to date; a
        // new entry is folded when it is the newest (the copy just made).
        if (!m_bPending || m_mapFolded.count(pItem) != 0 || pItem == arrItems.front()) {
            Get(*pItem);
        }
    }
}

// ---- The search -------------------------------------------------------------------------------

size_t FindKeys(const std::string& strKeys, const std::string& strNeedle, size_t nFrom, size_t nTo,
                size_t nProbe1, size_t nProbe2) {
    const size_t nNeedle = strNeedle.size();
    if (nNeedle == 0) {
        return nFrom <= strKeys.size() && nFrom < nTo ? nFrom : std::string::npos;
    }
    if (nNeedle > strKeys.size() || nTo == 0 || nFrom > strKeys.size() - nNeedle || nFrom >= nTo) {
        return std::string::npos;
    }
    const char* pKeys = strKeys.data();
    const size_t nLastStart = std::min(strKeys.size() - nNeedle, nTo - 1);
    if (nNeedle == 1) {
        const void* pHit = std::memchr(pKeys + nFrom, strNeedle[0], nLastStart + 1 - nFrom);
        return pHit ? static_cast<size_t>(static_cast<const char*>(pHit) - pKeys)
                    : std::string::npos;
    }
    // Two bytes of the needle (the rarest ones, as the caller chose them) tested together over a
    // block of starts (a loop the compiler turns into vector compares); a block with a hit is
    // looked at start by start.
    if (nProbe2 >= nNeedle) {
        nProbe2 = nNeedle - 1;
    }
    if (nProbe1 >= nProbe2) {
        nProbe1 = 0;
    }
    const char ch1 = strNeedle[nProbe1];
    const char ch2 = strNeedle[nProbe2];
    const auto IsHit = [&](size_t i) {
        return pKeys[i + nProbe1] == ch1 && pKeys[i + nProbe2] == ch2 &&
               std::memcmp(pKeys + i, strNeedle.data(), nNeedle) == 0;
    };
    constexpr size_t kBlock = 32;
    size_t i = nFrom;
    for (; i <= nLastStart && nLastStart - i >= kBlock; i += kBlock) {
        const char* p1 = pKeys + i + nProbe1;
        const char* p2 = pKeys + i + nProbe2;
        unsigned char nAny = 0;
        for (size_t j = 0; j < kBlock; ++j) {
            nAny |= static_cast<unsigned char>((p1[j] == ch1) & (p2[j] == ch2));
        }
        if (nAny != 0) {
            for (size_t j = 0; j < kBlock; ++j) {
                if (IsHit(i + j)) {
                    return i + j;
                }
            }
        }
    }
    for (; i <= nLastStart; ++i) {
        if (IsHit(i)) {
            return i;
        }
    }
    return std::string::npos;
}

// ---- CHistoryFilter ---------------------------------------------------------------------------

CHistoryFilter::CHistoryFilter(const CKorvexDoc& rDoc, CFoldedHistory& rFolded)
    : m_rDoc(rDoc), m_rFolded(rFolded) {
    RefreshAll();
}

bool CHistoryFilter::SetText(const std::u16string& strText) {
    m_strText = strText;
    const CCaseFolding& rFolding = m_rFolded.GetFolding();
    std::vector<WORD> arrWords;
    for (size_t nStart = 0; nStart < strText.size();) {
        size_t nEnd = strText.find(u' ', nStart);
        if (nEnd == std::u16string::npos) {
            nEnd = strText.size();
        }
        if (nEnd > nStart) {
            const std::u16string strWord = strText.substr(nStart, nEnd - nStart);
            WORD oWord{rFolding.FoldText(strWord), rFolding.KeysOf(strWord), true, {}, 0, 0};
            oWord.bAscii = std::all_of(oWord.strFolded.begin(), oWord.strFolded.end(),
                                       [](char16_t ch) { return ch < 0x80; });
            const std::string& strKeys = oWord.strKeys;
            // The two keys the scan tests first: the rarest in the history, and the end of the
            // word farther from it (keys far apart seldom come together by chance).
            size_t nRarest = 0;
            for (size_t i = 1; i < strKeys.size(); ++i) {
                if (m_rFolded.GetKeyCount(static_cast<unsigned char>(strKeys[i])) <
                    m_rFolded.GetKeyCount(static_cast<unsigned char>(strKeys[nRarest]))) {
                    nRarest = i;
                }
            }
            const size_t nLast = strKeys.size() - 1;
            oWord.nProbe1 = nRarest * 2 < nLast ? nRarest : 0;
            oWord.nProbe2 = nRarest * 2 < nLast ? nLast : nRarest;
            if (strKeys.size() <= kFoldOverlap + 1) {
                for (size_t i = 0; i < strKeys.size(); ++i) {
                    const auto nKey = static_cast<unsigned char>(strKeys[i]);
                    oWord.arrSieveBits.push_back(SieveBit(nKey));
                    if (i + 1 < strKeys.size()) {
                        oWord.arrSieveBits.push_back(
                            SieveBit(nKey, static_cast<unsigned char>(strKeys[i + 1])));
                    }
                }
            }
            arrWords.push_back(std::move(oWord));
        }
        nStart = nEnd + 1;
    }
    std::stable_sort(arrWords.begin(), arrWords.end(), [](const WORD& a, const WORD& b) {
        return a.strFolded.size() > b.strFolded.size();
    });
    arrWords.erase(
        std::unique(arrWords.begin(), arrWords.end(),
                    [](const WORD& a, const WORD& b) { return a.strFolded == b.strFolded; }),
        arrWords.end());
    const auto SameWords = [](const std::vector<WORD>& a, const std::vector<WORD>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const WORD& x, const WORD& y) { return x.strFolded == y.strFolded; });
    };
    if (SameWords(arrWords, m_arrWords)) {
        Refresh();
        return false;
    }
    // Each former word inside a new one: whatever matches now matched before.
    const bool bNarrower =
        !m_arrWords.empty() &&
        std::all_of(m_arrWords.begin(), m_arrWords.end(), [&](const WORD& oFormer) {
            return std::any_of(arrWords.begin(), arrWords.end(), [&](const WORD& oNew) {
                return oNew.strFolded.find(oFormer.strFolded) != std::u16string::npos;
            });
        });
    m_arrWords = std::move(arrWords);
    Sync(true, bNarrower);
    return true;
}

void CHistoryFilter::Refresh() {
    Sync(false, false);
}

void CHistoryFilter::Sync(bool bWordsChanged, bool bNarrower) {
    // The former entries are only compared by address, never read: they may be gone. An entry
    // at the address of a gone one has another revision.
    const std::vector<const CLIP_ITEM*> arrItems = m_rDoc.GetItems();
    std::vector<uint64_t> arrRevisions(arrItems.size());
    std::vector<bool> arrMatch(arrItems.size());
    std::unordered_map<const CLIP_ITEM*, size_t> mapFormer; // made when the order changed
    for (size_t i = 0; i < arrItems.size(); ++i) {
        const CLIP_ITEM& item = *arrItems[i];
        size_t nFormer = i;
        if (nFormer >= m_arrItems.size() || m_arrItems[nFormer] != &item) {
            if (mapFormer.empty()) {
                for (size_t k = 0; k < m_arrItems.size(); ++k) {
                    mapFormer.emplace(m_arrItems[k], k);
                }
            }
            const auto it = mapFormer.find(&item);
            nFormer = it == mapFormer.end() ? m_arrItems.size() : it->second;
        }
        const bool bKnown =
            nFormer < m_arrItems.size() && m_arrRevisions[nFormer] == item.nRevision;
        arrRevisions[i] = item.nRevision;
        if (bKnown && (!bWordsChanged || (bNarrower && !m_arrMatch[nFormer]))) {
            arrMatch[i] = m_arrMatch[nFormer];
        } else {
            arrMatch[i] = Matches(item);
        }
    }
    m_arrItems = arrItems;
    m_arrRevisions.swap(arrRevisions);
    m_arrMatch.swap(arrMatch);
    m_arrRows.clear();
    for (size_t i = 0; i < m_arrMatch.size(); ++i) {
        if (m_arrMatch[i]) {
            m_arrRows.push_back(static_cast<int32_t>(i));
        }
    }
}

void CHistoryFilter::RefreshAll() {
    Sync(true, false);
}

bool CHistoryFilter::Matches(const CLIP_ITEM& item) {
    return std::all_of(m_arrWords.begin(), m_arrWords.end(),
                       [&](const WORD& oWord) { return Contains(item, oWord); });
}

bool CHistoryFilter::Contains(const CLIP_ITEM& item, const WORD& oWord) {
    const FOLDED_TEXT& rFolded = m_rFolded.Get(item);
    const std::string& strKeys = rFolded.strKeys;
    const CCaseFolding& rFolding = m_rFolded.GetFolding();
    const auto IsConfirmed = [&](size_t nPos) {
        // A key below 0x80 is the folded character itself; any other may stand for several.
        if (oWord.bAscii) {
            return true;
        }
        for (size_t k = 0; k < oWord.strFolded.size(); ++k) {
            if (rFolding.Fold(item.strText[nPos + k]) != oWord.strFolded[k]) {
                return false;
            }
        }
        return true;
    };
    const auto MayHold = [&](size_t nBlock) {
        const uint64_t* pSieve = rFolded.arrSieves.data() + nBlock * kSieveWords;
        return std::all_of(oWord.arrSieveBits.begin(), oWord.arrSieveBits.end(),
                           [&](uint32_t n) { return (pSieve[n >> 6] >> (n & 63) & 1) != 0; });
    };
    // The runs of blocks that may hold the word (up to 16 blocks), each scanned in one go
    // (without sieve bits for the word: the whole text as one run).
    const size_t nBlocks = rFolded.arrSieves.size() / kSieveWords;
    const bool bSieved = !oWord.arrSieveBits.empty();
    for (size_t nBlock = 0; nBlock < nBlocks;) {
        if (bSieved && !MayHold(nBlock)) {
            ++nBlock;
            continue;
        }
        size_t nEnd = bSieved ? nBlock + 1 : nBlocks;
        while (nEnd < nBlocks && nEnd - nBlock < 16 && MayHold(nEnd)) {
            ++nEnd;
        }
        const size_t nTo = nEnd * kFoldBlock;
        for (size_t nPos = FindKeys(strKeys, oWord.strKeys, nBlock * kFoldBlock, nTo, oWord.nProbe1,
                                    oWord.nProbe2);
             nPos != std::string::npos;
             nPos = FindKeys(strKeys, oWord.strKeys, nPos + 1, nTo, oWord.nProbe1, oWord.nProbe2)) {
            if (IsConfirmed(nPos)) {
                return true;
            }
        }
        nBlock = nEnd;
    }
    return false;
}

const CLIP_ITEM* CHistoryFilter::GetRowEntry(int32_t nRow) const {
    if (nRow < 0 || static_cast<size_t>(nRow) >= m_arrRows.size()) {
        return nullptr;
    }
    return m_arrItems[static_cast<size_t>(m_arrRows[static_cast<size_t>(nRow)])];
}

int32_t CHistoryFilter::FindRow(const CLIP_ITEM* pItem) const {
    for (size_t nRow = 0; nRow < m_arrRows.size(); ++nRow) {
        if (m_arrItems[static_cast<size_t>(m_arrRows[nRow])] == pItem) {
            return static_cast<int32_t>(nRow);
        }
    }
    return -1;
}

std::vector<TEXT_MARK> CHistoryFilter::FindShownMarks(const std::u16string& strText) const {
    const size_t nShown = ShownTextLength(strText);
    const std::u16string strFolded = m_rFolded.GetFolding().FoldText(strText.substr(0, nShown));
    // Where each shown unit starts in the escaped text, and where the escaped text ends.
    std::vector<size_t> arrStart(nShown + 1, 0);
    for (size_t i = 0; i < nShown; ++i) {
        const char16_t ch = strText[i];
        arrStart[i + 1] = arrStart[i] + (ch == u'\t' ? 5 : ch == u'\r' || ch == u'\n' ? 4 : 1);
    }
    std::vector<TEXT_MARK> arrMarks;
    for (const WORD& oWord : m_arrWords) {
        const size_t nPos = strFolded.find(oWord.strFolded);
        if (nPos != std::u16string::npos) {
            const size_t nStart = arrStart[nPos];
            arrMarks.push_back({nStart, arrStart[nPos + oWord.strFolded.size()] - nStart});
        }
    }
    std::sort(arrMarks.begin(), arrMarks.end(),
              [](const TEXT_MARK& a, const TEXT_MARK& b) { return a.nStart < b.nStart; });
    std::vector<TEXT_MARK> arrJoined;
    for (const TEXT_MARK& oMark : arrMarks) {
        if (!arrJoined.empty() &&
            oMark.nStart <= arrJoined.back().nStart + arrJoined.back().nLength) {
            TEXT_MARK& rLast = arrJoined.back();
            rLast.nLength = std::max(rLast.nLength, oMark.nStart + oMark.nLength - rLast.nStart);
        } else {
            arrJoined.push_back(oMark);
        }
    }
    return arrJoined;
}
