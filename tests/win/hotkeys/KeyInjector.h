#pragma once
// Synthetic key presses, as the system delivers them to every low-level keyboard hook.

#include <windows.h>

#include <vector>

struct KEY_STROKE {
    WORD nKey; // virtual-key code
    bool bUp;
    bool operator==(const KEY_STROKE&) const = default;
};

inline KEY_STROKE KeyDown(WORD nKey) {
    return {nKey, false};
}

inline KEY_STROKE KeyUp(WORD nKey) {
    return {nKey, true};
}

// Sends the strokes with SendInput from a worker thread while this thread keeps pumping its
// messages: SendInput returns only after every low-level hook has answered, and the library's
// hook runs on this thread. Returns how many strokes the system took; fewer than given when
// SendInput failed or did not return within nTimeoutMs.
UINT InjectKeys(const std::vector<KEY_STROKE>& vecStrokes, DWORD nTimeoutMs = 10000);
