#pragma once
// The paste step of the small clip window: the window hides, then (when the paste option is on)
// Ctrl+V reaches the window that gets the focus back.

#include "KeyboardPlace.h"

#include <windows.h>

#include <vector>

// One synthetic key event: the virtual key, and whether it is a release.
struct PASTE_KEY_EVENT {
    BYTE nVirtualKey;
    bool bKeyUp;
};

// The key that types v in the current layout, from VkKeyScanW(L'v'); the V key (0x56) when the
// layout has none (non-Latin layouts answer -1).
BYTE ChoosePasteKey(SHORT nVkKeyScan);

// The events of one Ctrl+V: a Ctrl that the user still holds is neither pressed nor released.
std::vector<PASTE_KEY_EVENT> MakePasteKeyEvents(bool bControlHeld, BYTE nPasteKey);

// The keyboard given back as the small clip window goes: the foreground to oPlace's window when
// it still exists, then hWndToClose (the small clip window) is hidden; nothing later touches it.
// From the message loop, once the target has
// the activation and a focus again (250 ms at the latest), its control gets the focus and its
// selection back and, when bPaste is on, Ctrl+V goes to it: the paste lands at the caret and
// replaces only what the user had selected.
void PasteIntoTarget(HWND hWndToClose, const KEYBOARD_PLACE& oPlace, bool bPaste);
