#pragma once
// The history document's ports for the native benchmarks: a clipboard that takes every write and
// offers nothing, and limits with a bound of the benchmark's choice.

#include "history/HistoryPorts.h"

#include <cstdint>
#include <string>

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
