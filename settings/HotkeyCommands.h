#pragma once
// The commands that can be bound to global hotkeys: the message each one posts to the main
// window, where the options list shows it, its name and its default binding.

#include <cstdint>
#include <span>

// The messages of the hotkey commands (posted to the main window with both parameters 0).
enum HotkeyMessage : uint32_t {
    HM_SHOW_MAIN_WINDOW = 0x0401,
    HM_SHOW_CLIP_WINDOW = 0x0402,
    HM_REVERT_FIRST_ITEMS = 0x0465,
    HM_UPPERCASE_FIRST_ITEM = 0x0466,
    HM_LOWERCASE_FIRST_ITEM = 0x0467,
    HM_SMART_MAKE_OBJECT_FIRST_ITEM = 0x0468,
    HM_SMART_CONVERT_TO_ID_FIRST_ITEM = 0x0469,
    HM_SMART_CONVERT_FROM_ID_FIRST_ITEM = 0x046A,
    HM_INSERT_DATE_DOTS = 0x046B,              // yyyy.mm.dd
    HM_INSERT_DATE_DASHES = 0x046C,            // yyyy-mm-dd
    HM_INSERT_DATE_DOTS_TIME = 0x046D,         // yyyy.mm.dd HH-MM-SS
    HM_INSERT_DATE_DASHES_TIME = 0x046E,       // yyyy-mm-dd HH-MM-SS
    HM_INSERT_DATE_DASHES_UNDERSCORE = 0x046F, // yyyy-mm-dd_HH-MM-SS
    HM_INSERT_TIME_DASHES = 0x0470,            // HH-MM-SS
    HM_INSERT_TIME_DOTS = 0x0471,              // HH.MM.SS
    HM_INSERT_DATE_COMPACT = 0x0472,           // yyyymmdd
    HM_INSERT_TIME_COMPACT = 0x0473,           // HHMMSS
    HM_INSERT_DATE_TIME_COMPACT = 0x0474,      // yyyymmddHHMMSS
    HM_PREVIEW_FIRST_ITEM = 0x0475,
    HM_EDIT_FIRST_ITEM = 0x0476,
    HM_BOOKMARK_FIRST_ITEM = 0x0477,
    HM_ACTIVATE_FIRST_BOOKMARK = 0x0478,
    HM_TITLE_FIRST_ITEM = 0x0479,
    HM_PASTE_ACTIVATED_ITEM = 0x04C9,
    HM_RESET_CLIPBOARD_VIEWER = 0x04CA,
};

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
