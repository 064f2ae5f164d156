#pragma once
// Bounded waits that keep this thread's messages flowing: a test thread owns windows, timers or
// a low-level keyboard hook, and must go on handling messages while it waits. No bare sleeps.

#include <windows.h>

#include <functional>

namespace wintest {

// How the pumps dispatch one message. The default translates and dispatches it; tests of the
// window layer set the framework's PumpMessage, so pre-translation runs as in the program.
using MessageDispatcher = void (*)(MSG& msg);
// Sets the dispatcher (nullptr: the default) and returns the previous one.
MessageDispatcher SetMessageDispatcher(MessageDispatcher pfnDispatch);

// Dispatches what is queued now. A WM_QUIT is left queued for the loop that waits for it.
void PumpPending();
// Dispatches messages until fnDone() is true (returns true) or nTimeoutMs have passed (returns
// fnDone()'s last answer). fnDone is asked at least every 10 ms.
bool PumpUntil(const std::function<bool()>& fnDone, DWORD nTimeoutMs = 5000);
// Dispatches messages for nMs: after a wait, to show that nothing more arrives.
void PumpFor(DWORD nMs);

} // namespace wintest
