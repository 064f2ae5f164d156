#pragma once
// Mouse clicks as a user makes them (the test's own thread has no mouse hook to wait for).

#include <windows.h>

namespace e2e {

// Moves the cursor to the screen point and clicks nClicks times; true when SendInput took all.
bool ClickAt(POINT ptScreen, int nClicks = 1, bool bRightButton = false);

} // namespace e2e
