// Times a key press in the find-by-typing filter: the rows found again for a 1-, 3- and
// 8-character text, and for one more character typed (narrowing the former rows), over 999
// entries of 10,000 and of 100,000 characters (mixed case, some letters beyond ASCII). The text
// typed occurs only near the end of every 50th entry, so each other entry is read whole: the
// slowest case for a typed word. Each repetition is one key press; the aggregates give the median
// and the 95th percentile.

#include "history/HistoryFilter.h"
#include "bench/BenchPorts.h"
#include "history/KorvexDoc.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kEntries = 999;

// Mixed words from a fixed pseudo-random sequence; every 50th entry holds "Kundenstraße-<n>" at
// nine tenths of its length.
std::u16string MakeText(size_t nLength, uint32_t nSeed, int32_t nEntry) {
    static const std::u16string strPieces[] = {u"myVariableName",
                                               u"XMLParser",
                                               u"value2Max",
                                               u"MY_CONSTANT_ID",
                                               u"été",
                                               u"ΑλφαΒήτα",
                                               u"straße",
                                               u"12345",
                                               u"a - b",
                                               u"Find what:",
                                               u"\t",
                                               u"\r\n",
                                               u"Привет",
                                               u"Üben",
                                               u" ",
                                               u"__",
                                               u", ",
                                               u"SELECT id FROM"};
    std::u16string strText;
    strText.reserve(nLength + 32);
    uint32_t nState = nSeed;
    while (strText.size() < nLength) {
        nState = nState * 1103515245u + 12345u;
        strText += strPieces[(nState >> 16) % std::size(strPieces)];
    }
    strText.resize(nLength);
    if (nEntry % 50 == 0) {
        const std::u16string strMark = u"Kundenstraße-" + std::u16string(1, u'0' + nEntry % 10);
        strText.replace(nLength / 10 * 9, strMark.size(), strMark);
    }
    return strText;
}

struct CBenchHistory {
    CNoClipboard oClipboard;
    CBenchSettings oSettings{kEntries};
    CKorvexDoc oDoc{oClipboard, oSettings};
    CFoldedHistory oFolded{oDoc};
    CHistoryFilter oFilter{oDoc, oFolded};
    explicit CBenchHistory(size_t nLength) {
        oDoc.LoadSettings();
        oDoc.AddObserver(&oFolded);
        for (int32_t i = 0; i < kEntries; ++i) {
            oDoc.AddItem(MakeText(nLength, 7919u * static_cast<uint32_t>(i) + 1u, i));
        }
        oFilter.Refresh();
    }
};

CBenchHistory& History(size_t nLength) {
    static std::map<size_t, std::unique_ptr<CBenchHistory>> s_mapHistories;
    auto& p = s_mapHistories[nLength];
    if (!p) {
        p = std::make_unique<CBenchHistory>(nLength);
    }
    return *p;
}

// What the user types, in small letters. Word 0 has pairs of letters that no other text holds,
// so the sieves pass over most blocks. Word 1 occurs nowhere beyond its first three letters
// but every pair of its letters occurs all over each entry: every block is read, the slowest case.
const std::u16string kTypedWords[] = {u"kundenstr", u"parserame"};

// range(0): the entries' length; range(1): the characters typed; range(2): 1 to time the last
// one typed after the others (narrowing), 0 to time the whole text set at once; range(3): the
// word typed.
void BM_FilterKeyPress(benchmark::State& state) {
    CBenchHistory& o = History(static_cast<size_t>(state.range(0)));
    const size_t nTyped = static_cast<size_t>(state.range(1));
    const bool bNarrow = state.range(2) != 0;
    const std::u16string strText = kTypedWords[state.range(3)].substr(0, nTyped);
    for (auto _ : state) {
        state.PauseTiming();
        o.oFilter.SetText(bNarrow ? strText.substr(0, nTyped - 1) : std::u16string());
        state.ResumeTiming();
        o.oFilter.SetText(strText);
        benchmark::DoNotOptimize(o.oFilter.GetRows().data());
    }
    state.counters["rows"] = static_cast<double>(o.oFilter.GetRows().size());
}

// A copy arriving while the filter is on: the document's hint, the entry folded, the filter's
// rows brought in line (the oldest entry trimmed).
void BM_CopyArrivesWhileFiltering(benchmark::State& state) {
    CBenchHistory& o = History(static_cast<size_t>(state.range(0)));
    o.oFilter.SetText(u"kunden");
    uint32_t nSeed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        std::u16string strText = MakeText(static_cast<size_t>(state.range(0)), ++nSeed, 0);
        state.ResumeTiming();
        o.oDoc.AddItem(std::move(strText));
        o.oFilter.Refresh();
    }
    state.counters["held MB"] = static_cast<double>(o.oFolded.GetHeldBytes()) / 1e6;
}

double Percentile95(const std::vector<double>& v) {
    std::vector<double> arr = v;
    std::sort(arr.begin(), arr.end());
    return arr.empty() ? 0 : arr[std::min(arr.size() - 1, arr.size() * 95 / 100)];
}

void KeyPresses(benchmark::internal::Benchmark* b) {
    for (const int64_t nWord : {0, 1}) {
        for (const int64_t nLength : {10000, 100000}) {
            for (const int64_t nTyped : {1, 3, 8}) {
                b->Args({nLength, nTyped, 0, nWord});
            }
            b->Args({nLength, 9, 0, nWord});
            b->Args({nLength, 9, 1, nWord});
        }
    }
}

} // namespace

BENCHMARK(BM_FilterKeyPress)
    ->Apply(KeyPresses)
    ->ArgNames({"length", "typed", "narrow", "word"})
    ->Iterations(1)
    ->Repetitions(40)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyArrivesWhileFiltering)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Repetitions(40)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
