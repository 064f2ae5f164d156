#pragma once
// The paste step of the small clip window: the window goes, then (when the paste option is on)
// Ctrl+V reaches the window that gets the focus back.

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

// The paste step. Gives the foreground back to hWndTarget (the window that was in the foreground
// before the small clip window opened) when it still exists, destroys hWndToClose (the small
// clip window: its object may be released while this runs, so nothing here touches it), then,
// when bPaste is set, synthesises Ctrl+V for the window with the focus: from the message loop,
// once the target has held the focus for a moment (250 ms at the latest).
void PasteIntoTarget(HWND hWndToClose, HWND hWndTarget, bool bPaste);
