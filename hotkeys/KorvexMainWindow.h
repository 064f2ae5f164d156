#pragma once
// How any process recognises Korvex's main window: a top-level window titled "Korvex" with a
// direct child (the marker window) titled "{E35FF78A-0086-4009-A154-38F6E13D084F}". A window
// with the title but without the marker belongs to some other program.

#include <windows.h>

#include "hotkeys/ZendelApi.h"

// The program's name: its main window's title, the caption of its message boxes, its tooltip and
// the name of its "Start with Windows" value.
inline constexpr wchar_t KORVEX_PROGRAM_NAME[] = L"Korvex";
inline constexpr const wchar_t* KORVEX_MAIN_WINDOW_TITLE = KORVEX_PROGRAM_NAME;
inline constexpr wchar_t KORVEX_MARKER_WINDOW_TITLE[] = L"{E35FF78A-0086-4009-A154-38F6E13D084F}";

// The first top-level window (in the system's window order, hidden ones included) titled
// "Korvex" that has the marker child; nullptr when there is none. Titles compare without
// regard to letter case.
ZENDEL_API HWND FindKorvexMainWindow();

// Whether the library's keyboard hook is in place (it is installed when the library is loaded);
// when it is not, the system's error code of the installation, else 0.
ZENDEL_API bool IsKeyboardHookInstalled();
ZENDEL_API DWORD GetKeyboardHookError();
