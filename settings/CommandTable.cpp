#include "settings/CommandTable.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "settings/ApplicationRegistry.h"
#include "settings/HotkeyCommands.h"

void CCommandTable::BuildCommandTable() {
    for (const HOTKEY_COMMAND& oCommand : GetHotkeyCommands()) {
        m_mapCommands[oCommand.nMessage] = MESSAGE_DESCRIPTION(oCommand.nMessage, oCommand.nGroup,
                                                               oCommand.nIndex, oCommand.pszName);
    }
}

void CCommandTable::RegisterHotkeys(CKeyboardAccelerator& oAccelerator) {
    BuildCommandTable();
    CApplicationRegistry oSettings;
    for (const auto& [nMessage, oDescription] : m_mapCommands) {
        // A binding of 0 is ignored by the accelerator.
        oAccelerator.AddHotkeyMessageID(oSettings.GetHotkey(nMessage), nMessage);
    }
}

bool CCommandTable::Lookup(uint32_t nMessage, MESSAGE_DESCRIPTION& oDescription) const {
    const auto it = m_mapCommands.find(nMessage);
    if (it == m_mapCommands.end()) {
        return false;
    }
    oDescription = it->second;
    return true;
}
