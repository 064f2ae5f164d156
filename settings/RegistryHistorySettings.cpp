#include "settings/RegistryHistorySettings.h"

#include "settings/ApplicationRegistry.h"

int32_t CRegistryHistorySettings::GetBufferSize() {
    return CApplicationRegistry().GetBufferSize();
}

uint32_t CRegistryHistorySettings::GetMaxClipboardCopySize() {
    return CApplicationRegistry().GetMaxClipboardCopySize();
}
