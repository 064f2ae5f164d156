#pragma once
// A command that can be bound to a global hotkey, as the settings see it: the message it posts
// to the main window, the section of the options list that shows it, its name and its default
// binding. The program's commands are rows of app/HotkeyCommands.cpp, each with its handler;
// the command table (CommandTable.h) is built from their descriptions.

#include <cstdint>

// Sections of the options list.
enum HotkeyGroup : uint32_t {
    HG_VIEW = 0,
    HG_EDIT = 1,
    HG_OPTIONS = 2,
};

struct HOTKEY_DESCRIPTION {
    uint32_t nMessage;       // the message posted to the main window; identifies the command
    HotkeyGroup nGroup;      // the options list shows a group's commands in the order given
    const wchar_t* pszName;  // display name
    uint32_t nDefaultHotkey; // binding while none is stored; 0 for none
};
