#pragma once
// Korvex's dialogs and message boxes seen from outside: found by their title among the process's
// shown windows, their controls read with messages that cross processes, and keys typed into
// them as a user types them.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The process's shown top-level windows of the class ("#32770" dialogs and message boxes, "#32768"
// menus) with that title (any title when null).
std::vector<HWND> ShownWindows(DWORD nProcess, const wchar_t* pszClass,
                               const wchar_t* pszTitle = nullptr);
// Waits (bounded) until one is shown (and, with bActive, in the foreground): its window, or NULL.
HWND WaitForDialog(DWORD nProcess, const wchar_t* pszTitle, DWORD nTimeoutMs = 5000,
                   bool bActive = false);

// What the system knows of the thread of hWnd: its focus, its active window, its menu.
GUITHREADINFO ThreadInfo(HWND hWnd);

// A window's text, however long; a control's text (a message box's text is control 0xFFFF), a
// check box's state, and the selected entry of a drop-down list (empty when none is selected).
std::wstring WindowText(HWND hWnd);
std::wstring ControlText(HWND hDlg, int nId);
bool IsTicked(HWND hDlg, int nId);
std::wstring ComboSelection(HWND hDlg, int nId);

// Types the chords one after the other into the window that has the focus ({VK_MENU, 'C'} is
// Alt+C); each chord's keys are pressed in order and released in reverse.
::testing::AssertionResult Press(const std::vector<std::vector<WORD>>& vecChords);
// Brings hWnd forward, then presses the chords.
::testing::AssertionResult TypeInto(HWND hWnd, const std::vector<std::vector<WORD>>& vecChords);

} // namespace e2e
