#pragma once
// Korvex's icon in the notification area of Wine's desktop (the taskbar of its explorer) and
// the icon's menu, seen from outside as a user sees them. Each icon is a tool of the taskbar's
// tooltip window: the tool's text is the icon's tooltip, its rectangle the icon's place. Another
// process cannot read the items of Korvex's menu under Wine, so the menu is compared as pixels.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace e2e {

// Where the taskbar draws the icon with the tooltip, if it shows one.
std::optional<RECT> FindTrayIcon(const wchar_t* pszTooltip = L"Korvex");
// The pixels of a screen rectangle, row by row; empty when it cannot be captured.
std::vector<uint32_t> CaptureScreen(const RECT& rc);
// Right-clicks the icon with the tooltip and waits for a menu of the process: its window, or NULL.
HWND OpenTrayMenu(DWORD nKorvexProcess, const wchar_t* pszTooltip = L"Korvex");
// The strip along the menu's left edge where check marks are drawn, once it is drawn completely
// (the same in three captures in a row); empty when it cannot be captured.
std::vector<uint32_t> CheckMarkStrip(HWND hMenu);
// Presses Esc and waits until the menu has gone.
bool CloseTrayMenu(HWND hMenu);

} // namespace e2e
