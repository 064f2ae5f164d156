#pragma once
// The kept history's file calls moved off the thread that records: sealing a large entry's
// record, its append and its flush (or a rewrite) would otherwise hold up the next copy. The
// calls are carried out in order on a thread of the queue's own; the records are taken along
// and sealed there. A call that fails there is
// told at the next call made here, which then reports false (the writer writes the file anew);
// until then the appends that follow it are dropped, since the file no longer ends where they
// belong.

#include "history/HistoryFile.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

class CQueuedHistoryFileStore : public IHistoryFileStore {
public:
    // rStore: the store that carries the calls out; only this queue calls it from now on, but
    // for NewKey, which is asked of it directly.
    explicit CQueuedHistoryFileStore(IHistoryFileStore& rStore);
    // Carries out everything queued, then ends its thread.
    ~CQueuedHistoryFileStore() override;
    CQueuedHistoryFileStore(const CQueuedHistoryFileStore&) = delete;
    CQueuedHistoryFileStore& operator=(const CQueuedHistoryFileStore&) = delete;

    // Returns once every call queued before it has been carried out.
    void Drain();

    bool Append(std::span<const uint8_t> bytes) override;
    // Take the records' buffer along (sealed on the queue's thread) and leave an emptied one of
    // earlier calls in its place.
    bool AppendRecords(UnsealedRecords& rRecords) override;
    bool WriteReplacementRecords(UnsealedRecords& rRecords) override;
    bool BeginReplace() override;
    bool WriteReplacement(std::span<const uint8_t> bytes) override;
    bool EndReplace(bool bCommit) override;
    void Delete() override;
    std::optional<HistoryFileKey> NewKey() override { return m_rStore.NewKey(); }

private:
    enum class Call { Append, BeginReplace, WriteReplacement, EndReplace, Delete };
    struct Job {
        Call nCall;
        UnsealedRecords oRecords; // the bytes, with the records among them to seal first
        bool bCommit = false;
    };
    // True when a call failed since the last one made here (and forgets it).
    bool TakeFailure();
    void Push(Job&& oJob);
    std::vector<uint8_t> TakeSpare();
    // Queues the bytes (a copy) or the records (taken) of an append or a replacement's piece.
    bool PushBytes(Call nCall, std::span<const uint8_t> bytes);
    bool PushRecords(Call nCall, UnsealedRecords& rRecords);
    void Run();
    bool Carry(Job& oJob);

    IHistoryFileStore& m_rStore;
    std::mutex m_oMutex;
    std::condition_variable m_oChanged;
    std::deque<Job> m_deqJobs;
    std::vector<std::vector<uint8_t>> m_arrSpare; // emptied buffers kept for the next calls
    size_t m_nSpareBytes = 0;                     // their capacity
    bool m_bBusy = false;                         // a job is being carried out
    bool m_bFailed = false;                       // a call failed and has not been told yet
    bool m_bDropping = false;                     // appends are dropped until a replacement begins
    bool m_bStopping = false;
    std::thread m_oThread;
};
