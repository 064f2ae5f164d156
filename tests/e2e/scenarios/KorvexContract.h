#pragma once
// What the outside world knows of Korvex: its window, the messages it answers, its settings.
// The scenarios restate these on purpose instead of including the program's headers, so that a
// changed number in the program shows up as a failing scenario.

#include <windows.h>

namespace e2e {

inline constexpr wchar_t kMainWindowTitle[] = L"Korvex";
inline constexpr wchar_t kMarkerTitle[] = L"{E35FF78A-0086-4009-A154-38F6E13D084F}";

// Window messages posted to the main window.
inline constexpr UINT kMsgShowMainWindow = 0x401;
inline constexpr UINT kMsgShowClipWindow = 0x402;
inline constexpr UINT kMsgPasteActivatedItem = 0x4C9;
inline constexpr UINT kMsgResetClipboardViewer = 0x4CA;
inline constexpr UINT kMsgBookmarkFirstItem = 0x477;
inline constexpr UINT kMsgRevertFirstItems = 0x465;
inline constexpr UINT kMsgOptionsChanged = 0x7EB;

// Menu commands.
inline constexpr UINT kCmdFileExit = 32780;
inline constexpr UINT kCmdTrayExit = 32776;
inline constexpr UINT kCmdEnableDocking = 32781;
inline constexpr UINT kCmdFileOptions = 32778;

// The options dialog and the hotkey editor: titles and control identifiers.
inline constexpr wchar_t kOptionsTitle[] = L"Options";
inline constexpr int kIdHotkeyList = 1017;
inline constexpr int kIdItemsCount = 1005;
inline constexpr int kIdMaxCopySize = 1008;
inline constexpr int kIdStartWithWindows = 1006;
inline constexpr int kIdPasteActivated = 1007;
inline constexpr int kIdKeepHistory = 1030;
inline constexpr wchar_t kHotkeyEditTitle[] = L"Hotkey Edit";
inline constexpr int kIdCommandName = 1016;
inline constexpr int kIdCtrl = 1012;
inline constexpr int kIdAlt = 1013;
inline constexpr int kIdShift = 1014;
inline constexpr int kIdKey = 1015;

// The small clip window: a dialog owned by the main window, its list, and the list's text column.
inline constexpr int kSmallClipListId = 1000;
inline constexpr int kSmallClipColumnNo = 2;
inline constexpr int kSmallClipColumnText = 3;
// The find-by-typing fields of the small clip window and of the main window.
inline constexpr int kSmallClipFilterId = 1027;
inline constexpr int kMainFilterId = 1028;

// List columns of the main window.
inline constexpr int kColumnNo = 1;
inline constexpr int kColumnText = 2;
inline constexpr int kColumnTime = 3;

// Settings.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Brenwick\\Korvex";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValue[] = L"Korvex";
inline constexpr wchar_t kPausedTooltip[] = L"Korvex (paused)";
// Shortens the minute of "Forget unbookmarked entries after" to so many seconds.
inline constexpr wchar_t kSecondsPerMinuteVariable[] = L"KORVEX_TEST_SECONDS_PER_MINUTE";

} // namespace e2e
