// Times the kept history's core: recording one 1 KB copy with "All entries" (beside the same
// copy unrecorded), the occasional rewrite of a full history, and reading a file of 999 entries
// of 10 KB into the document, as a start does. The platform's file calls are not in these
// figures: the store here keeps only the byte count.

#include "history/HistoryFile.h"
#include "bench/BenchPorts.h"
#include "history/KorvexDoc.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// Keeps the file in memory when asked to, else only counts what it is given.
class CBenchStore : public IHistoryFileStore {
public:
    bool bKeep = false;
    std::vector<uint8_t> arrFile;
    uint64_t nBytes = 0;
    int64_t nReplaces = 0;
    bool Append(std::span<const uint8_t> bytes) override {
        nBytes += bytes.size();
        if (bKeep) {
            arrFile.insert(arrFile.end(), bytes.begin(), bytes.end());
        }
        return true;
    }
    bool BeginReplace() override {
        ++nReplaces;
        nBytes = 0;
        if (bKeep) {
            arrFile.clear();
        }
        return true;
    }
    bool WriteReplacement(std::span<const uint8_t> bytes) override { return Append(bytes); }
    bool EndReplace(bool) override { return true; }
    void Delete() override {}
    std::optional<HistoryFileKey> NewKey() override {
        HistoryFileKey oKey;
        oKey.oKey.fill(7);
        oKey.arrProtected.assign(oKey.oKey.begin(), oKey.oKey.end());
        return oKey;
    }
};

std::optional<AeadKey> Unprotect(std::span<const uint8_t> blob) {
    AeadKey oKey{};
    if (blob.size() != oKey.size()) {
        return std::nullopt;
    }
    std::copy(blob.begin(), blob.end(), oKey.begin());
    return oKey;
}

// A full history of 200 entries of 1,024 characters, kept with "All entries" in a store that
// only counts.
struct CFullHistory {
    CNoClipboard oClipboard;
    CBenchSettings oSettings;
    CKorvexDoc oDoc{oClipboard, oSettings};
    CBenchStore oStore;
    std::optional<CHistoryWriter> optWriter;
    CFullHistory() {
        for (uint32_t i = 0; i < 200; ++i) {
            oDoc.AddItem(BenchLetters(1024, i));
        }
        optWriter.emplace(oDoc, oStore, KeepMode::All);
    }
};

// Each iteration is one more copy into the full history (which also trims the oldest), recorded
// or not.
void CopyOf1KB(benchmark::State& state, bool bRecorded) {
    CFullHistory oHistory;
    CKorvexDoc& oDoc = oHistory.oDoc;
    CBenchStore& oStore = oHistory.oStore;
    CHistoryWriter& oWriter = *oHistory.optWriter;
    if (bRecorded) {
        oDoc.SetJournal(&oWriter);
    }
    const std::u16string strText = BenchLetters(1024, 99);
    for (auto _ : state) {
        oDoc.AddItem(strText);
    }
    state.counters["rewrites"] = static_cast<double>(oStore.nReplaces - 1);
    state.counters["file_KB"] = static_cast<double>(oStore.nBytes) / 1024;
}

void BM_CopyOf1KBUnrecorded(benchmark::State& state) {
    CopyOf1KB(state, false);
}

void BM_CopyOf1KBRecorded(benchmark::State& state) {
    CopyOf1KB(state, true);
}

// Rewriting that full history as one snapshot (what a compaction costs when it comes).
void BM_RewriteOf200x1KB(benchmark::State& state) {
    CFullHistory oHistory;
    CHistoryWriter& oWriter = *oHistory.optWriter;
    for (auto _ : state) {
        oWriter.SetMode(KeepMode::Bookmarked);
        oWriter.SetMode(KeepMode::All);
    }
    state.SetLabel("one rewrite of nothing, one of all");
}

// Reading a file of 999 entries of 10,240 characters and handing them to the document.
void BM_StartWith999x10KB(benchmark::State& state) {
    CNoClipboard oClipboard;
    CBenchSettings oSettings;
    oSettings.nBufferSize = 999;
    CKorvexDoc oWriterDoc(oClipboard, oSettings);
    CBenchStore oStore;
    oStore.bKeep = true;
    CHistoryWriter oWriter(oWriterDoc, oStore, KeepMode::All);
    oWriterDoc.SetJournal(&oWriter);
    for (uint32_t i = 0; i < 999; ++i) {
        oWriterDoc.AddItem(BenchLetters(10240, i));
    }
    CKorvexDoc oDoc(oClipboard, oSettings);
    for (auto _ : state) {
        LoadedHistory oLoaded = ReadHistoryFile(oStore.arrFile, Unprotect);
        oDoc.TakeLoadedEntries(std::move(oLoaded.arrEntries));
        if (oDoc.GetItemCount() != 999) {
            state.SkipWithError("the file did not read back");
        }
    }
    state.counters["file_MB"] = static_cast<double>(oStore.arrFile.size()) / 1e6;
}

} // namespace

BENCHMARK(BM_CopyOf1KBUnrecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyOf1KBRecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RewriteOf200x1KB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartWith999x10KB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
