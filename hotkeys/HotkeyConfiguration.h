#pragma once
// A hotkey configuration: one 32-bit word with the virtual-key code in bits 0-15, Ctrl in bit 16,
// Alt in bit 17 and Shift in bit 18; 0 means "no hotkey". The library owns the format; the
// settings, the hotkey texts and the dialogs build and read it with these constants.

#include <cstdint>

constexpr uint32_t HOTKEY_KEY_MASK = 0x0000FFFF;
constexpr unsigned HOTKEY_MODIFIER_SHIFT = 16; // the modifiers' position in the word
constexpr uint32_t HOTKEY_CTRL = 0x00010000;
constexpr uint32_t HOTKEY_ALT = 0x00020000;
constexpr uint32_t HOTKEY_SHIFT = 0x00040000;
