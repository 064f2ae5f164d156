#include "settings/HotkeyBinding.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "settings/KorvexSettings.h"
#include "settings/CommandTable.h"

uint32_t FindHotkeyConflict(const CKeyboardAccelerator& oAccelerator, uint32_t nMessage,
                            uint32_t nConfiguration) {
    if (nConfiguration == 0 || !oAccelerator.ContainsMessageID(nConfiguration)) {
        return 0;
    }
    const uint32_t nHolder = oAccelerator.GetMessageID(nConfiguration);
    return nHolder == nMessage ? 0 : nHolder;
}

void ApplyHotkeyBinding(const CCommandTable& oCommands, CKeyboardAccelerator& oAccelerator,
                        CKorvexSettings& oSettings, uint32_t nMessage, uint32_t nConfiguration,
                        uint32_t nTakenFrom) {
    if (nTakenFrom != 0) {
        // Its live entry is the combination itself, which is replaced below.
        oSettings.SetHotkey(nTakenFrom, 0);
    }
    const uint32_t nPrevious = oCommands.GetHotkey(oSettings, nMessage);
    if (nPrevious != 0 && oAccelerator.GetMessageID(nPrevious) == nMessage) {
        oAccelerator.RemoveHotkeyMessageID(nPrevious);
    }
    oAccelerator.AddHotkeyMessageID(nConfiguration, nMessage);
    oSettings.SetHotkey(nMessage, nConfiguration);
}
