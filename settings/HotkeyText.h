#pragma once
// The display text of a hotkey binding, as the options list shows it.

#include <cstdint>
#include <string>

// "Ctrl + Alt + A" for 0x00030041; the empty text for 0 (no binding). A key code without a name
// adds nothing after the modifiers ("Ctrl + Alt + "); key code 0 reads "(None)".
std::wstring GetHotkeyText(uint32_t nConfiguration);
