#pragma once
// What a key press seen by the keyboard hook stands for: the hotkey configuration that is looked
// up in the table, decided from the modifiers held and the keyboard layout.
//
// On layouts with an AltGr key (German, French, Polish, ...) the system reports AltGr, the right
// Alt key, as Ctrl+Alt: AltGr+0 types "}" on a German keyboard and would otherwise fire a
// Ctrl+Alt+0 binding. A key pressed with the right Alt without the left Alt on such a layout is
// a character, not a hotkey; the left Ctrl+Alt combinations are hotkeys on every layout.

#include <cstdint>

#include "hotkeys/ZendelApi.h"

// The modifier keys held during a key press.
struct HOOK_MODIFIERS {
    bool bCtrl = false;     // either Ctrl key (AltGr holds the left one on AltGr layouts)
    bool bLeftAlt = false;  // the left Alt key
    bool bRightAlt = false; // the right Alt key (AltGr on layouts that have it)
    bool bShift = false;    // either Shift key
};

// The configuration to look up for nKey pressed with the modifiers, or 0 for a key that fires no
// hotkey. fnLayoutHasAltGr tells whether the layout the key is typed in has AltGr; it is asked
// only when the right Alt key is held without the left one.
ZENDEL_API uint32_t HookKeyConfiguration(uint16_t nKey, const HOOK_MODIFIERS& oModifiers,
                                         bool (*fnLayoutHasAltGr)());

// The modifiers held on the keyboard right now (GetAsyncKeyState): the hook sees keys on their
// way to other programs' queues.
ZENDEL_API HOOK_MODIFIERS GetLiveHookModifiers();

// Whether the keyboard layout of the foreground window's thread has AltGr: some character of it
// is typed with Ctrl+Alt. Worked out once per layout.
ZENDEL_API bool ForegroundLayoutHasAltGr();
