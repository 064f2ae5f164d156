#pragma once
// The history document's two limits, read from the registry each time they are asked for.

#include "history/HistoryPorts.h"

class CRegistryHistorySettings : public IHistorySettings {
public:
    int32_t GetBufferSize() override;
    uint32_t GetMaxClipboardCopySize() override;
};
