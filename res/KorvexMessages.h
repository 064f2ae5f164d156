#pragma once
// Every window message that Korvex's windows and other processes exchange, apart from the hotkey
// commands' (one row each, with its message number, in app/HotkeyCommands.cpp).
//
// All of them go to Korvex's main window. Other processes post the wake-up and hotkey messages,
// so each handler takes any parameters: the hotkey messages come with both parameters 0, and
// nothing may trust a parameter that it did not check.

#include <cstdint>

// The hotkey commands (app/HotkeyCommands.cpp) are posted by the keyboard hook (zendel.dll)
// with both parameters 0. The first of them, "Show Main Window", is also the wake-up message that
// a second start of Korvex posts to the first.
inline constexpr uint32_t HM_SHOW_MAIN_WINDOW = 0x0401;

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
