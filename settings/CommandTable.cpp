#include "settings/CommandTable.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "settings/KorvexSettings.h"

CCommandTable::CCommandTable(std::span<const HOTKEY_DESCRIPTION> arrCommands)
    : m_arrDescriptions(arrCommands.begin(), arrCommands.end()) {}

void CCommandTable::BuildCommandTable() {
    std::map<uint32_t, uint32_t> mapGroupSizes;
    for (const HOTKEY_DESCRIPTION& oCommand : m_arrDescriptions) {
        m_mapCommands[oCommand.nMessage] = MESSAGE_DESCRIPTION(
            oCommand.nMessage, oCommand.nGroup, mapGroupSizes[oCommand.nGroup]++, oCommand.pszName);
    }
}

void CCommandTable::RegisterHotkeys(CKeyboardAccelerator& oAccelerator,
                                    const CKorvexSettings& oSettings) {
    BuildCommandTable();
    for (const auto& [nMessage, oDescription] : m_mapCommands) {
        // A binding of 0 is ignored by the accelerator.
        oAccelerator.AddHotkeyMessageID(GetHotkey(oSettings, nMessage), nMessage);
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

uint32_t CCommandTable::GetHotkey(const CKorvexSettings& oSettings, uint32_t nMessage) const {
    for (const HOTKEY_DESCRIPTION& oCommand : m_arrDescriptions) {
        if (oCommand.nMessage == nMessage) {
            return oSettings.GetHotkey(nMessage, oCommand.nDefaultHotkey);
        }
    }
    return oSettings.GetHotkey(nMessage, 0);
}
