#pragma once
// The commands that can be bound to global hotkeys: the message each one posts to the main
// window, where the options list shows it, its name and its default binding.

#include <cstdint>
#include <span>

#include "res/KorvexMessages.h"

// Sections of the options list.
enum HotkeyGroup : uint32_t {
    HG_VIEW = 0,
    HG_EDIT = 1,
    HG_OPTIONS = 2,
};

struct HOTKEY_COMMAND {
    uint32_t nMessage;
    uint32_t nGroup;
    uint32_t nIndex;         // position within the group in the options list
    const wchar_t* pszName;  // display name
    uint32_t nDefaultHotkey; // binding while none is stored; 0 for none
};

// All 25 commands, in the order in which the command table is built.
std::span<const HOTKEY_COMMAND> GetHotkeyCommands();

// The binding a command has while none is stored; 0 for a message that is not a command.
uint32_t GetDefaultHotkey(uint32_t nMessage);
