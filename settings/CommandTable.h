#pragma once
// The table of hotkey commands, by message number, owned by the application object; and the
// registration of every bound command in an accelerator table at start-up.

#include "settings/MessageDescription.h"

#include <cstdint>
#include <map>

class CKeyboardAccelerator;

class CCommandTable {
public:
    // Puts the 25 commands into the table, each under its message number.
    void BuildCommandTable();

    // Builds the table, then enters the binding of every command (as stored, or the command's
    // default when none is) into the accelerator. Unbound commands (binding 0) are not entered.
    void RegisterHotkeys(CKeyboardAccelerator& oAccelerator);

    // Copies the command into oDescription and returns true when nMessage is a command.
    bool Lookup(uint32_t nMessage, MESSAGE_DESCRIPTION& oDescription) const;

    // Every command, in ascending message number.
    const std::map<uint32_t, MESSAGE_DESCRIPTION>& GetCommands() const { return m_mapCommands; }

private:
    std::map<uint32_t, MESSAGE_DESCRIPTION> m_mapCommands;
};
