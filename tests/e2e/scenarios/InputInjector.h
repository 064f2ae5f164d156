#pragma once
// Keys and mouse clicks as a user makes them, injected with SendInput from a worker thread:
// SendInput returns only after every low-level keyboard hook has answered, so a busy hook
// thread (Korvex's user-interface thread) shows up as a slow injection rather than a hung test.

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace e2e {

struct InjectionResult {
    bool bDone = false;        // SendInput returned within the bound
    bool bAllSent = false;     // and took every event
    ULONGLONG nDurationMs = 0; // how long it took (the bound when it did not return)
};

// Presses the keys in order and releases them in reverse order (a chord such as Ctrl+Alt+A).
InjectionResult PressChord(std::initializer_list<WORD> keys, DWORD nTimeoutMs = 5000);
// Presses and releases one key.
InjectionResult PressKey(WORD nKey, DWORD nTimeoutMs = 5000);
// Moves the cursor to the point and clicks the left (or right) button nClicks times.
InjectionResult Click(POINT ptScreen, int nClicks = 1, bool bRightButton = false,
                      DWORD nTimeoutMs = 5000);

} // namespace e2e
