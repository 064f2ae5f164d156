#pragma once
// The history document's ports for the native benchmarks: a clipboard that takes every write and
// offers nothing, and limits with a bound of the benchmark's choice.

#include "history/HistoryPorts.h"

#include <cstdint>
#include <string>

// A text of nUnits small letters, the same for the same seed.
inline std::u16string BenchLetters(size_t nUnits, uint32_t nSeed) {
    std::u16string str(nUnits, u' ');
    for (char16_t& c : str) {
        nSeed = nSeed * 1103515245u + 12345u;
        c = static_cast<char16_t>(u'a' + (nSeed >> 16) % 26);
    }
    return str;
}

class CNoClipboard : public IClipboardPort {
public:
    uint32_t GetSequenceNumber() override { return 1; }
    ClipboardRead ReadText(uint64_t) override { return {}; }
    ClipboardWriteStatus WriteText(const std::u16string&) override {
        return ClipboardWriteStatus::Written;
    }
};

class CBenchSettings : public IHistorySettings {
public:
    explicit CBenchSettings(int32_t nBound = 200) : nBufferSize(nBound) {}
    int32_t nBufferSize;
    int32_t GetBufferSize() override { return nBufferSize; }
    uint32_t GetMaxClipboardCopySize() override { return 5; }
};
