// Times the text operations of the history document on a text of 2,499,999 characters, the
// most a 5,000,000-byte clipboard block holds. Each must stay well under 100 ms.

#include "bench/BenchPorts.h"
#include "history/KorvexDoc.h"
#include "history/TextSearch.h"

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdint>
#include <string>

namespace {

constexpr size_t kTextLength = 2499999;

// Mixed words: lower and upper case letters (some beyond ASCII), digits, underscores, spaces,
// punctuation, tabs and line breaks, from a fixed pseudo-random sequence.
std::u16string MakeText() {
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
                                               u"\n",
                                               u" ",
                                               u"__",
                                               u", "};
    std::u16string strText;
    strText.reserve(kTextLength + 32);
    uint32_t nState = 12345;
    while (strText.size() < kTextLength) {
        nState = nState * 1103515245u + 12345u;
        strText += strPieces[(nState >> 16) % std::size(strPieces)];
    }
    strText.resize(kTextLength);
    return strText;
}

class CDiscardingClipboard : public IClipboardPort {
public:
    size_t nWritten = 0;
    uint32_t GetSequenceNumber() override { return 1; }
    ClipboardRead ReadText(uint64_t) override { return {}; }
    ClipboardWriteStatus WriteText(const std::u16string& strText) override {
        nWritten = strText.size();
        return ClipboardWriteStatus::Written;
    }
};

// A document holding the large text as its only entry; the results go to a clipboard that
// only notes their length.
struct CBenchDoc {
    CDiscardingClipboard oClipboard;
    CBenchSettings oSettings;
    CKorvexDoc oDoc{oClipboard, oSettings};
    CBenchDoc() {
        std::setlocale(LC_CTYPE, "C.UTF-8");
        oDoc.AddItem(MakeText());
    }
};

CBenchDoc& Bench() {
    static CBenchDoc oBench;
    return oBench;
}

void BM_ConvertToId(benchmark::State& state) {
    CBenchDoc& o = Bench();
    for (auto _ : state) {
        o.oDoc.ConvertToId(0, false);
        benchmark::DoNotOptimize(o.oClipboard.nWritten);
    }
}

void BM_ConvertFromId(benchmark::State& state) {
    CBenchDoc& o = Bench();
    for (auto _ : state) {
        o.oDoc.ConvertFromId(0, false);
        benchmark::DoNotOptimize(o.oClipboard.nWritten);
    }
}

void BM_ChangeCase(benchmark::State& state) {
    CBenchDoc& o = Bench();
    const auto nMode = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        o.oDoc.ChangeCase(0, nMode, false);
        benchmark::DoNotOptimize(o.oClipboard.nWritten);
    }
}

// The find text occurs nowhere: every character of the entry is looked at.
void BM_MatchItem(benchmark::State& state) {
    CBenchDoc& o = Bench();
    FIND_CRITERIA oCriteria{u"myVariableNamez", state.range(0) != 0, true};
    const std::u16string& strText = o.oDoc.GetItemOrThrow(0)->strText;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MatchesCriteria(strText, oCriteria));
    }
}

void BM_EscapeText(benchmark::State& state) {
    CBenchDoc& o = Bench();
    for (auto _ : state) {
        std::u16string strText = o.oDoc.GetItemOrThrow(0)->strText;
        EscapeDisplayText(strText);
        benchmark::DoNotOptimize(strText.data());
    }
}

} // namespace

BENCHMARK(BM_ConvertToId)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertFromId)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeCase)
    ->Arg(kCaseUpper)
    ->Arg(kCaseLower)
    ->Arg(kCaseTitle)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchItem)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapeText)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
