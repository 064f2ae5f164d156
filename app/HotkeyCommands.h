#pragma once
// Every command that a global hotkey can run, one row each: the message that the keyboard hook
// posts to the main window (both parameters 0), the section of the options list that shows it,
// its name, its default binding (see HOTKEY_DESCRIPTION), and what it does. The accelerator setup
// and the options dialog read the descriptions through the command table; the main frame runs the
// handlers.

#include <cstdint>
#include <vector>

#include "settings/HotkeyDescription.h"

class CMainFrame;

struct HOTKEY_COMMAND {
    uint32_t nMessage;
    HotkeyGroup nGroup;
    const wchar_t* pszName;
    uint32_t nDefaultHotkey;
    int32_t nEntriesNeeded; // with fewer entries in the history the command does nothing
    void (*pfnRun)(CMainFrame& rFrame);
};

// The descriptions of the commands, in the order of the rows.
std::vector<HOTKEY_DESCRIPTION> GetHotkeyDescriptions();

// Runs the command of a hotkey message; false when the message is not a command.
bool RunHotkeyCommand(CMainFrame& rFrame, uint32_t nMessage);
