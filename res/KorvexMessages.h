#pragma once
// Every window message that Korvex's windows and other processes exchange, in one place.
//
// All of them go to Korvex's main window. Other processes post the wake-up and hotkey messages,
// so each handler takes any parameters: the hotkey messages come with both parameters 0, and
// nothing may trust a parameter that it did not check.

#include <cstdint>

// The hotkey commands, posted by the keyboard hook (zendel.dll) with both parameters 0. 0x401
// is also the wake-up message that a second start of Korvex posts to the first.
enum HotkeyMessage : uint32_t {
    HM_SHOW_MAIN_WINDOW = 0x0401,
    HM_SHOW_CLIP_WINDOW = 0x0402,
    HM_REVERT_FIRST_ITEMS = 0x0465,
    HM_UPPERCASE_FIRST_ITEM = 0x0466,
    HM_LOWERCASE_FIRST_ITEM = 0x0467,
    HM_SMART_MAKE_OBJECT_FIRST_ITEM = 0x0468,
    HM_SMART_CONVERT_TO_ID_FIRST_ITEM = 0x0469,
    HM_SMART_CONVERT_FROM_ID_FIRST_ITEM = 0x046A,
    // The ten date/time stamps, in the order of the stamp patterns (history/DateTimeStamps.h).
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

// Korvex's own messages to the main window.
enum KorvexMessage : uint32_t {
    // From the notification-area icon; lParam is the mouse message.
    WM_KORVEX_TRAY_NOTIFY = 0x07E9,
    // Posted by the small clip window as its window goes (once no modal loop runs): the frame
    // forgets and deletes it.
    WM_KORVEX_RELEASE_SMALL_CLIP = 0x07EA,
    // Posted by the options dialog after OK: the history re-reads its limits and trims.
    WM_KORVEX_OPTIONS_CHANGED = 0x07EB,
    // Posted after each change of the history: wParam is the changed entry's index + 1, or 0
    // when the whole list may have changed. Forwarded to the small clip window, which refreshes
    // everything for a row that no longer exists.
    WM_HISTORY_CHANGED = 0x07EC,
    // Posted once by start-up: what the window does not need in order to answer (the tray icon,
    // the command line's switch, the first-run step, the hotkeys) is done on the first turn of
    // the message loop. Any later one does nothing.
    WM_KORVEX_FINISH_START_UP = 0x07ED,
};

// Registered by name: sent to every top-level window when the notification area is re-created.
inline constexpr wchar_t TASKBAR_CREATED_MESSAGE_NAME[] = L"TaskbarCreated";
