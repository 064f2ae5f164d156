#include "history/KorvexDoc.h"

#include "history/FlagGuard.h"
#include "history/TextSearch.h"
#include "history/TextTransforms.h"

#include <algorithm>
#include <clocale>
#include <ctime>
#include <limits>
#include <memory>
#include <utility>

namespace {

constexpr uint64_t kBytesPerCopySizeUnit = 1000000;

} // namespace

CKorvexDoc::CKorvexDoc(IClipboardPort& rClipboard, IHistorySettings& rSettings)
    : m_rClipboard(rClipboard), m_rSettings(rSettings) {
    LoadSettings();
    // Character classes and case mappings follow the user's locale.
    std::setlocale(LC_CTYPE, "");
    m_lstItems.SetMatchFunction(
        [this](const CLIP_ITEM& oItem) { return MatchesCriteria(oItem.strText, m_oFindCriteria); });
}

CKorvexDoc::~CKorvexDoc() = default;

// ---- Observers and accessors ------------------------------------------------------------------

void CKorvexDoc::AddObserver(IHistoryObserver* pObserver) {
    if (pObserver != nullptr && std::find(m_arrObservers.begin(), m_arrObservers.end(),
                                          pObserver) == m_arrObservers.end()) {
        m_arrObservers.push_back(pObserver);
    }
}

void CKorvexDoc::RemoveObserver(IHistoryObserver* pObserver) {
    std::erase(m_arrObservers, pObserver);
}

void CKorvexDoc::SetJournal(IHistoryJournal* pJournal) {
    m_pJournal = pJournal;
}

void CKorvexDoc::SetClock(std::function<int64_t()> fnNow) {
    m_fnNow = std::move(fnNow);
}

void CKorvexDoc::Journal(HistoryChangeKind nKind, int32_t nIndex, int32_t nIndex2) {
    if (m_pJournal != nullptr) {
        m_pJournal->OnHistoryChange({nKind, nIndex, nIndex2});
    }
}

int32_t CKorvexDoc::GetItemCount() const {
    return m_lstItems.GetCount();
}

CLIP_ITEM* CKorvexDoc::FindItem(int32_t nIndex) {
    const auto pos = m_lstItems.FindIndex(nIndex);
    return m_lstItems.IsNull(pos) ? nullptr : *pos;
}

std::vector<const CLIP_ITEM*> CKorvexDoc::GetItems() const {
    return std::vector<const CLIP_ITEM*>(m_lstItems.begin(), m_lstItems.end());
}

CLIP_ITEM* CKorvexDoc::GetItemOrThrow(int32_t nIndex) {
    return m_lstItems.GetAt(nIndex);
}

FIND_CRITERIA& CKorvexDoc::GetFindCriteria() {
    return m_oFindCriteria;
}

void CKorvexDoc::NotifyItemChanged(HistoryHint oHint) {
    // An observer may remove another (or itself) while it is told: tell only those still added.
    const std::vector<IHistoryObserver*> arrObservers = m_arrObservers;
    for (IHistoryObserver* pObserver : arrObservers) {
        if (std::find(m_arrObservers.begin(), m_arrObservers.end(), pObserver) !=
            m_arrObservers.end()) {
            pObserver->OnHistoryChanged(oHint);
        }
    }
}

// ---- Entry operations -------------------------------------------------------------------------

void CKorvexDoc::AddItem(std::u16string strText) {
    auto pItem = std::make_unique<CLIP_ITEM>(std::move(strText));
    if (m_fnNow) {
        pItem->tmCreated = m_fnNow();
    }
    m_lstItems.AddHead(pItem.get());
    pItem.release();
    Journal(HistoryChangeKind::Inserted, 0);
    TrimToBufferSize();
    NotifyItemChanged(HistoryHint::WholeList());
}

bool CKorvexDoc::ActivateItem(int32_t nIndex) {
    const auto pos = m_lstItems.FindIndex(nIndex);
    if (m_lstItems.IsNull(pos)) {
        return true;
    }
    CLIP_ITEM* pItem = *pos;
    m_bIgnoreClipboardChange = true;
    if (WriteToClipboard(pItem->strText, WriteKind::Activation) != ClipboardWriteStatus::Written) {
        return false;
    }
    m_lstItems.RemoveAt(pos);
    m_lstItems.AddHead(pItem);
    if (nIndex != 0) {
        Journal(HistoryChangeKind::Moved, nIndex, 0);
    }
    NotifyItemChanged(HistoryHint::WholeList());
    return true;
}

bool CKorvexDoc::RevertFirstItems() {
    return ActivateItem(1); // an index out of range does nothing
}

bool CKorvexDoc::ActivateItems(const std::vector<int32_t>& arrIndexes) {
    CheckIndexes(arrIndexes, false);
    std::u16string strJoined;
    for (size_t i = 0; i < arrIndexes.size(); ++i) {
        if (i > 0) {
            strJoined += u"\r\n";
        }
        strJoined += GetItemOrThrow(arrIndexes[i])->strText;
    }
    if (WriteToClipboard(strJoined, WriteKind::Plain) != ClipboardWriteStatus::Written) {
        return false;
    }
    NotifyItemChanged(HistoryHint::WholeList());
    return true;
}

void CKorvexDoc::InvertItems(const std::vector<int32_t>& arrIndexes) {
    CheckIndexes(arrIndexes, true);
    if (arrIndexes.size() < 2 ||
        arrIndexes.back() - arrIndexes.front() + 1 != static_cast<int32_t>(arrIndexes.size())) {
        throw CInvalidArgException("inverting needs at least two contiguous entries");
    }
    // The nodes stay where they are; the entries they hold change places.
    const auto posFirst = m_lstItems.FindIndex(arrIndexes.front());
    const auto posEnd = std::next(m_lstItems.FindIndex(arrIndexes.back()));
    std::reverse(posFirst, posEnd);
    Journal(HistoryChangeKind::Reversed, arrIndexes.front(), arrIndexes.back());
    // A new head goes to the clipboard; the views must show the new order even if that fails.
    if (arrIndexes.front() != 0 || !ActivateItem(0)) {
        NotifyItemChanged(HistoryHint::WholeList());
    }
}

void CKorvexDoc::RemoveItem(int32_t nIndex) {
    m_lstItems.DeleteAt(m_lstItems.FindIndex(nIndex));
    Journal(HistoryChangeKind::Removed, nIndex);
    if (nIndex != 0 || m_lstItems.IsEmpty() || !ActivateItem(0)) {
        NotifyItemChanged(HistoryHint::WholeList());
    }
}

void CKorvexDoc::RemoveItems(const std::vector<int32_t>& arrIndexes) {
    CheckIndexes(arrIndexes, false);
    // Entries found again after a modal box may come in any order, and twice: each goes once,
    // from the bottom up so that the indexes still to go stay valid.
    std::vector<int32_t> arrSorted = arrIndexes;
    std::sort(arrSorted.begin(), arrSorted.end());
    arrSorted.erase(std::unique(arrSorted.begin(), arrSorted.end()), arrSorted.end());
    for (auto it = arrSorted.rbegin(); it != arrSorted.rend(); ++it) {
        m_lstItems.DeleteAt(m_lstItems.FindIndex(*it));
        Journal(HistoryChangeKind::Removed, *it);
    }
    const bool bHeadRemoved = !arrSorted.empty() && arrSorted.front() == 0;
    if (!bHeadRemoved || m_lstItems.IsEmpty() || !ActivateItem(0)) {
        NotifyItemChanged(HistoryHint::WholeList());
    }
}

void CKorvexDoc::ReplaceItemText(int32_t nIndex, const std::u16string& strText) {
    GetItemOrThrow(nIndex)->SetText(strText);
    Journal(HistoryChangeKind::TextChanged, nIndex);
    if (nIndex != 0) {
        NotifyItemChanged(HistoryHint::Entry(nIndex));
    } else if (!ActivateItem(0)) {
        NotifyItemChanged(HistoryHint::WholeList());
    }
}

void CKorvexDoc::SetBookmark(int32_t nIndex, bool bBookmark) {
    GetItemOrThrow(nIndex)->bBookmark = bBookmark;
    Journal(HistoryChangeKind::BookmarkChanged, nIndex);
    NotifyItemChanged(HistoryHint::Entry(nIndex));
}

void CKorvexDoc::ToggleBookmark(int32_t nIndex) {
    CLIP_ITEM* pItem = GetItemOrThrow(nIndex);
    pItem->bBookmark = !pItem->bBookmark;
    Journal(HistoryChangeKind::BookmarkChanged, nIndex);
    NotifyItemChanged(HistoryHint::Entry(nIndex));
}

void CKorvexDoc::ClearBookmarks() {
    for (CLIP_ITEM* pItem : m_lstItems) {
        pItem->bBookmark = false;
    }
    Journal(HistoryChangeKind::BookmarksCleared);
    NotifyItemChanged(HistoryHint::WholeList());
}

int32_t CKorvexDoc::FindNextBookmark(int32_t nStart) {
    // The first bookmark after the start, else the first one from the top (the start included).
    const int64_t nFrom = static_cast<int64_t>(nStart) + 1;
    int32_t nFirst = -1;
    int32_t nIndex = 0;
    for (const CLIP_ITEM* pItem : m_lstItems) {
        if (pItem->bBookmark) {
            if (nIndex >= nFrom) {
                return nIndex;
            }
            if (nFirst == -1) {
                nFirst = nIndex;
            }
        }
        ++nIndex;
    }
    return nFirst;
}

int32_t CKorvexDoc::FindPrevBookmark(int32_t nStart) {
    // The last bookmark before the start (-1: from the bottom), else the last one of all.
    const int64_t nTo =
        (nStart == -1 ? static_cast<int64_t>(GetItemCount()) : static_cast<int64_t>(nStart)) - 1;
    int32_t nBefore = -1;
    int32_t nLast = -1;
    int32_t nIndex = 0;
    for (const CLIP_ITEM* pItem : m_lstItems) {
        if (pItem->bBookmark) {
            nLast = nIndex;
            if (nIndex <= nTo) {
                nBefore = nIndex;
            }
        }
        ++nIndex;
    }
    return nBefore != -1 ? nBefore : nLast;
}

void CKorvexDoc::ClearList() {
    m_lstItems.DeleteAll();
    Journal(HistoryChangeKind::Cleared);
    NotifyItemChanged(HistoryHint::WholeList());
}

void CKorvexDoc::LoadSettings() {
    const int32_t nBufferSize = m_rSettings.GetBufferSize();
    m_nBufferSize = nBufferSize < 0 ? 0 : nBufferSize;
    m_nMaxClipboardCopySize = m_rSettings.GetMaxClipboardCopySize();
    TrimToBufferSize();
    NotifyItemChanged(HistoryHint::WholeList());
}

void CKorvexDoc::TrimToBufferSize() {
    const int32_t nBound = std::max<int32_t>(m_nBufferSize, 0);
    while (!m_lstItems.IsEmpty() && m_lstItems.GetCount() > nBound) {
        m_lstItems.DeleteTail();
        Journal(HistoryChangeKind::Removed, m_lstItems.GetCount());
    }
}

void CKorvexDoc::TakeLoadedEntries(std::vector<CLIP_ITEM>&& arrEntries) {
    // Entries recorded already (a copy made while the file was read) are newer: they stay ahead.
    const size_t nBound = static_cast<size_t>(std::max<int32_t>(m_nBufferSize, 0));
    for (size_t i = 0; i < arrEntries.size() && static_cast<size_t>(m_lstItems.GetCount()) < nBound;
         ++i) {
        auto pItem = std::make_unique<CLIP_ITEM>(std::move(arrEntries[i]));
        m_lstItems.AddTail(pItem.get());
        pItem.release();
    }
    arrEntries.clear();
    Journal(HistoryChangeKind::Replaced);
    NotifyItemChanged(HistoryHint::WholeList());
}

int32_t CKorvexDoc::ForgetUnbookmarked(int64_t nSeconds) {
    const int64_t tmNow = m_fnNow ? m_fnNow() : static_cast<int64_t>(std::time(nullptr));
    int32_t nForgotten = 0;
    int32_t nIndex = 0;
    for (auto pos = m_lstItems.begin(); pos != m_lstItems.end();) {
        const CLIP_ITEM* pItem = *pos;
        // The age as an unsigned difference (exact when the entry is older than now), so that
        // no stored time can overflow it.
        const bool bOld =
            pItem
                ->tmCreated<tmNow&& static_cast<uint64_t>(tmNow) -
                            static_cast<uint64_t>(
                                pItem->tmCreated)> static_cast<uint64_t>(std::max<int64_t>(nSeconds,
                                                                                           0));
        if (!pItem->bBookmark && bOld) {
            const auto posNext = std::next(pos);
            m_lstItems.DeleteAt(pos);
            pos = posNext;
            Journal(HistoryChangeKind::Removed, nIndex);
            ++nForgotten;
        } else {
            ++pos;
            ++nIndex;
        }
    }
    if (nForgotten > 0) {
        NotifyItemChanged(HistoryHint::WholeList());
    }
    return nForgotten;
}

void CKorvexDoc::CheckIndexes(const std::vector<int32_t>& arrIndexes, bool bStrictlyAscending) {
    const int32_t nCount = GetItemCount();
    for (size_t i = 0; i < arrIndexes.size(); ++i) {
        if (arrIndexes[i] < 0 || arrIndexes[i] >= nCount) {
            throw CInvalidArgException("entry index out of range");
        }
        if (bStrictlyAscending && i > 0 && arrIndexes[i] <= arrIndexes[i - 1]) {
            throw CInvalidArgException("entry indexes must be ascending");
        }
    }
}

// ---- Clipboard --------------------------------------------------------------------------------

ClipboardWriteStatus CKorvexDoc::WriteToClipboard(const std::u16string& strText, WriteKind nKind) {
    ClipboardWriteStatus nStatus;
    {
        CFlagGuard oWriting(m_bWriting);
        nStatus = m_rClipboard.WriteText(strText);
    }
    if (nKind == WriteKind::Activation) {
        if (nStatus == ClipboardWriteStatus::FailedUnchanged) {
            // Nothing changed, so no change of ours is coming: the next one is a real copy.
            m_bIgnoreClipboardChange = false;
        } else {
            // The change to ignore is the one this write made (a failed write emptied it).
            m_nIgnoreSequence = m_rClipboard.GetSequenceNumber();
        }
    }
    return nStatus;
}

bool CKorvexDoc::WriteClipboardText(const std::u16string& strText) {
    return WriteToClipboard(strText, WriteKind::Plain) == ClipboardWriteStatus::Written;
}

void CKorvexDoc::CopyDateTime(const char* pszPattern) {
    WriteClipboardText(FormatLocalTime(static_cast<int64_t>(std::time(nullptr)), pszPattern));
}

ReadClipboardResult CKorvexDoc::ReadClipboard() {
    if (m_bWriting) {
        // The notification of our own write arrived before the write returned; what it means
        // is known only afterwards.
        return ReadClipboardResult::Retry;
    }
    if (m_bReading) {
        // The platform dispatched a notification inside the running read: read once more after
        // it instead of nesting.
        m_bReadAgain = true;
        return ReadClipboardResult::Handled;
    }
    CFlagGuard oReading(m_bReading);
    ReadClipboardResult nResult;
    do {
        m_bReadAgain = false;
        nResult = ReadClipboardOnce();
    } while (m_bReadAgain && nResult == ReadClipboardResult::Handled);
    // After a Retry the platform calls again, which covers a change noted meanwhile.
    m_bReadAgain = false;
    return nResult;
}

void CKorvexDoc::SetRecordingPaused(bool bPaused) {
    if (m_bPaused && !bPaused) {
        // What the clipboard holds now was copied during the pause (or before it, and handled
        // already). Without a sequence number a change cannot be told from the next one.
        if (const uint32_t nSequence = m_rClipboard.GetSequenceNumber(); nSequence != 0) {
            m_nHandledSequence = nSequence;
        }
    }
    m_bPaused = bPaused;
}

ReadClipboardResult CKorvexDoc::ReadClipboardOnce() {
    const uint32_t nSequence = m_rClipboard.GetSequenceNumber();
    if (nSequence != 0 && nSequence == m_nHandledSequence) {
        return ReadClipboardResult::Handled;
    }
    if (m_bIgnoreClipboardChange) {
        m_bIgnoreClipboardChange = false;
        if (nSequence == 0 || m_nIgnoreSequence == 0 || nSequence == m_nIgnoreSequence) {
            // The change made by the activation's own write: the entry is at the head already.
            m_nHandledSequence = nSequence;
            return ReadClipboardResult::Handled;
        }
        // A newer change has replaced the activation's write: record it.
    }
    if (m_bPaused) {
        m_nHandledSequence = nSequence;
        return ReadClipboardResult::Handled;
    }
    ClipboardRead oRead = m_rClipboard.ReadText(static_cast<uint64_t>(m_nMaxClipboardCopySize) *
                                                kBytesPerCopySizeUnit);
    if (oRead.nStatus == ClipboardReadStatus::Busy) {
        return ReadClipboardResult::Retry;
    }
    // The change that was read may carry a newer number than the one seen before the read; a
    // notification for that newer number must not record the same text again.
    m_nHandledSequence = oRead.nSequence != 0 ? oRead.nSequence : nSequence;
    // The read may have dispatched the command that paused the recording.
    if (oRead.nStatus == ClipboardReadStatus::Text && !m_bPaused) {
        AddItem(std::move(oRead.strText));
    }
    return ReadClipboardResult::Handled;
}

// ---- Transformations --------------------------------------------------------------------------

void CKorvexDoc::SendResult(int32_t nIndex, const std::u16string& strText, bool bReplace) {
    if (bReplace) {
        ReplaceItemText(nIndex, strText);
    } else {
        WriteClipboardText(strText);
    }
}

void CKorvexDoc::MakeObject(int32_t nIndex, bool bReplace) {
    const std::u16string& strText = GetItemOrThrow(nIndex)->strText;
    if (!strText.empty()) {
        SendResult(nIndex, MakeObjectText(strText), bReplace);
    }
}

void CKorvexDoc::ConvertToId(int32_t nIndex, bool bReplace) {
    SendResult(nIndex, ConvertToIdText(GetItemOrThrow(nIndex)->strText), bReplace);
}

void CKorvexDoc::ConvertFromId(int32_t nIndex, bool bReplace) {
    SendResult(nIndex, ConvertFromIdText(GetItemOrThrow(nIndex)->strText), bReplace);
}

void CKorvexDoc::ChangeCase(int32_t nIndex, int32_t nMode, bool bReplace) {
    SendResult(nIndex, ChangeCaseText(GetItemOrThrow(nIndex)->strText, nMode), bReplace);
}

void CKorvexDoc::ConvertItemsToId(const std::vector<int32_t>& arrIndexes) {
    CheckIndexes(arrIndexes, false);
    for (const int32_t nIndex : arrIndexes) {
        ConvertToId(nIndex, true);
    }
}

void CKorvexDoc::ConvertItemsFromId(const std::vector<int32_t>& arrIndexes) {
    CheckIndexes(arrIndexes, false);
    for (const int32_t nIndex : arrIndexes) {
        ConvertFromId(nIndex, true);
    }
}

void CKorvexDoc::ChangeItemsCase(const std::vector<int32_t>& arrIndexes, int32_t nMode) {
    CheckIndexes(arrIndexes, false);
    for (const int32_t nIndex : arrIndexes) {
        ChangeCase(nIndex, nMode, true);
    }
}

// ---- Search -----------------------------------------------------------------------------------

int32_t CKorvexDoc::FindNext(int32_t nStart, bool bWrap) {
    if (m_oFindCriteria.strText.empty()) {
        return -1;
    }
    const int64_t nFrom = static_cast<int64_t>(nStart) + 1;
    if (nFrom <= std::numeric_limits<int32_t>::max()) {
        const int32_t nFound = m_lstItems.FindMatchForward(static_cast<int32_t>(nFrom));
        if (nFound != -1) {
            return nFound;
        }
    }
    // Wrapping searches from the top, the start entry included.
    return bWrap ? m_lstItems.FindFirstMatch() : -1;
}

int32_t CKorvexDoc::FindPrev(int32_t nStart) {
    if (m_oFindCriteria.strText.empty()) {
        return -1;
    }
    const int64_t nFrom = static_cast<int64_t>(nStart) - 1;
    if (nFrom >= 0 && nFrom <= std::numeric_limits<int32_t>::max()) {
        const int32_t nFound = m_lstItems.FindMatchBackward(static_cast<int32_t>(nFrom));
        if (nFound != -1) {
            return nFound;
        }
    }
    return m_lstItems.FindLastMatch();
}

void CKorvexDoc::BookmarkAll(const std::function<bool(int32_t)>& fnShown) {
    for (int32_t nIndex = FindNext(-1, false); nIndex != -1; nIndex = FindNext(nIndex, false)) {
        if (!fnShown || fnShown(nIndex)) {
            SetBookmark(nIndex, true);
        }
    }
}
