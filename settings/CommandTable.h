#pragma once
// The table of hotkey commands, by message number, owned by the application object; and the
// registration of every bound command in an accelerator table at start-up.

#include "settings/HotkeyDescription.h"
#include "settings/MessageDescription.h"

#include <cstdint>
#include <map>
#include <span>
#include <vector>

class CKeyboardAccelerator;
class CKorvexSettings;

class CCommandTable {
public:
    // The commands, each group's in the order in which the options list shows them.
    explicit CCommandTable(std::span<const HOTKEY_DESCRIPTION> arrCommands);

    // Puts the commands into the table, each under its message number and numbered within its
    // group in the order given.
    void BuildCommandTable();

    // Builds the table, then enters the binding of every command (as stored, or the command's
    // default when none is) into the accelerator. Unbound commands (binding 0) are not entered.
    void RegisterHotkeys(CKeyboardAccelerator& oAccelerator, const CKorvexSettings& oSettings);

    // Copies the command into oDescription and returns true when nMessage is a command.
    bool Lookup(uint32_t nMessage, MESSAGE_DESCRIPTION& oDescription) const;

    // Every command, in ascending message number.
    const std::map<uint32_t, MESSAGE_DESCRIPTION>& GetCommands() const { return m_mapCommands; }

    // The binding of a command as stored, or its default while none is stored (0 for a message
    // that is not a command).
    uint32_t GetHotkey(const CKorvexSettings& oSettings, uint32_t nMessage) const;

private:
    std::vector<HOTKEY_DESCRIPTION> m_arrDescriptions;
    std::map<uint32_t, MESSAGE_DESCRIPTION> m_mapCommands;
};
