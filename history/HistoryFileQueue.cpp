#include "history/HistoryFileQueue.h"

#include <algorithm>
#include <utility>

namespace {

// Emptied buffers kept for the next calls, up to this many bytes in all (a large entry's record
// is sealed and written again and again without its memory being found anew).
constexpr size_t kSpareBytes = size_t{16} << 20;
constexpr size_t kSpareBuffers = 4;

} // namespace

CQueuedHistoryFileStore::CQueuedHistoryFileStore(IHistoryFileStore& rStore) : m_rStore(rStore) {
    m_oThread = std::thread([this] { Run(); });
}

CQueuedHistoryFileStore::~CQueuedHistoryFileStore() {
    {
        const std::lock_guard oLock(m_oMutex);
        m_bStopping = true;
    }
    m_oChanged.notify_all();
    m_oThread.join();
}

void CQueuedHistoryFileStore::Drain() {
    std::unique_lock oLock(m_oMutex);
    m_oChanged.wait(oLock, [this] { return m_deqJobs.empty() && !m_bBusy; });
}

bool CQueuedHistoryFileStore::TakeFailure() {
    const std::lock_guard oLock(m_oMutex);
    return std::exchange(m_bFailed, false);
}

void CQueuedHistoryFileStore::Push(Job&& oJob) {
    {
        const std::lock_guard oLock(m_oMutex);
        m_deqJobs.push_back(std::move(oJob));
    }
    m_oChanged.notify_all();
}

std::vector<uint8_t> CQueuedHistoryFileStore::TakeSpare() {
    const std::lock_guard oLock(m_oMutex);
    if (m_arrSpare.empty()) {
        return {};
    }
    // The largest, which the next large record fits.
    const auto it = std::max_element(m_arrSpare.begin(), m_arrSpare.end(),
                                     [](auto& a, auto& b) { return a.capacity() < b.capacity(); });
    std::vector<uint8_t> arr = std::move(*it);
    m_arrSpare.erase(it);
    m_nSpareBytes -= arr.capacity();
    return arr;
}

bool CQueuedHistoryFileStore::PushBytes(Call nCall, std::span<const uint8_t> bytes) {
    Job oJob{nCall, {}};
    oJob.oRecords.arrBytes = TakeSpare();
    oJob.oRecords.arrBytes.assign(bytes.begin(), bytes.end());
    Push(std::move(oJob));
    return true;
}

bool CQueuedHistoryFileStore::PushRecords(Call nCall, UnsealedRecords& rRecords) {
    Job oJob{nCall,
             {std::exchange(rRecords.arrBytes, TakeSpare()), std::exchange(rRecords.arrRecords, {}),
              rRecords.oKey}};
    Push(std::move(oJob));
    return true;
}

bool CQueuedHistoryFileStore::Append(std::span<const uint8_t> bytes) {
    return !TakeFailure() && PushBytes(Call::Append, bytes);
}

bool CQueuedHistoryFileStore::AppendRecords(UnsealedRecords& rRecords) {
    return !TakeFailure() && PushRecords(Call::Append, rRecords);
}

bool CQueuedHistoryFileStore::BeginReplace() {
    if (TakeFailure()) {
        return false;
    }
    Push({Call::BeginReplace, {}});
    return true;
}

// A failure of the replacement's pieces is told by EndReplace.
bool CQueuedHistoryFileStore::WriteReplacement(std::span<const uint8_t> bytes) {
    return PushBytes(Call::WriteReplacement, bytes);
}

bool CQueuedHistoryFileStore::WriteReplacementRecords(UnsealedRecords& rRecords) {
    return PushRecords(Call::WriteReplacement, rRecords);
}

bool CQueuedHistoryFileStore::EndReplace(bool bCommit) {
    // A failure since the replacement began abandons it.
    const bool bFailed = TakeFailure();
    Push({Call::EndReplace, {}, bCommit && !bFailed});
    return bCommit ? !bFailed : true;
}

void CQueuedHistoryFileStore::Delete() {
    Push({Call::Delete, {}});
}

bool CQueuedHistoryFileStore::Carry(Job& oJob) {
    switch (oJob.nCall) {
    case Call::Append:
        if (m_bDropping) {
            return true;
        }
        SealRecords(oJob.oRecords);
        return m_rStore.Append(oJob.oRecords.arrBytes);
    case Call::BeginReplace:
        m_bDropping = false;
        return m_rStore.BeginReplace();
    case Call::WriteReplacement:
        SealRecords(oJob.oRecords);
        return m_rStore.WriteReplacement(oJob.oRecords.arrBytes);
    case Call::EndReplace:
        return m_rStore.EndReplace(oJob.bCommit) || !oJob.bCommit;
    case Call::Delete:
        m_rStore.Delete();
        return true;
    }
    return true;
}

void CQueuedHistoryFileStore::Run() {
    std::unique_lock oLock(m_oMutex);
    for (;;) {
        m_oChanged.wait(oLock, [this] { return !m_deqJobs.empty() || m_bStopping; });
        if (m_deqJobs.empty()) {
            return; // stopping, and all is carried out
        }
        Job oJob = std::move(m_deqJobs.front());
        m_deqJobs.pop_front();
        m_bBusy = true;
        oLock.unlock();
        const bool bDone = Carry(oJob);
        oLock.lock();
        m_bBusy = false;
        if (!bDone) {
            // The file does not end where the queued appends belong: none goes until the writer
            // has written it anew.
            m_bFailed = true;
            m_bDropping = true;
        }
        std::vector<uint8_t>& arrBytes = oJob.oRecords.arrBytes;
        const size_t nCapacity = arrBytes.capacity();
        if (nCapacity > 0 && m_nSpareBytes + nCapacity <= kSpareBytes &&
            m_arrSpare.size() < kSpareBuffers) {
            // Dropped records were never sealed: no plain text is kept in a spare.
            std::fill(arrBytes.begin(), arrBytes.end(), uint8_t{0});
            arrBytes.clear();
            m_arrSpare.push_back(std::move(arrBytes));
            m_nSpareBytes += nCapacity;
        }
        m_oChanged.notify_all();
    }
}
