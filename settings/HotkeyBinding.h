#pragma once
// Binding one hotkey command to a key combination, as the hotkey editor does it: live at once in
// the accelerator table that the keyboard hook reads, and stored in the settings.

#include <cstdint>

class CCommandTable;
class CKeyboardAccelerator;
class CKorvexSettings;

// The command that holds nConfiguration live in the accelerator right now, when that is another
// command than nMessage; 0 when the combination is free, is nMessage's own, or is 0.
uint32_t FindHotkeyConflict(const CKeyboardAccelerator& oAccelerator, uint32_t nMessage,
                            uint32_t nConfiguration);

// Binds the command nMessage of oCommands to nConfiguration (0 unbinds it). nTakenFrom, when not 0,
// is the command that gave the combination up: its stored binding becomes 0. The stored previous
// binding of nMessage leaves the accelerator when the accelerator still holds it for nMessage
// (after hand edits of the registry it may belong to another command, which keeps it).
void ApplyHotkeyBinding(const CCommandTable& oCommands, CKeyboardAccelerator& oAccelerator,
                        CKorvexSettings& oSettings, uint32_t nMessage, uint32_t nConfiguration,
                        uint32_t nTakenFrom);
