#pragma once
// Bounded waits for tests: this thread's messages keep being dispatched while waiting, so
// clipboard notifications and timers are handled as they would be in the program.

#include <windows.h>

#include <functional>

// Dispatches messages until fnDone() returns true or nTimeoutMs have passed; true when done.
bool PumpUntil(const std::function<bool()>& fnDone, DWORD nTimeoutMs);
// Dispatches messages for nMs: used after a wait to prove that nothing more arrives.
void PumpFor(DWORD nMs);
