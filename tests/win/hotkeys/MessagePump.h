#pragma once
// The test thread is the thread on which zendel.dll installed its keyboard hook: while it waits
// for anything it must keep handling its messages, or every key press on the desktop stalls.

#include <windows.h>

#include <functional>

// Dispatches what is queued for this thread now.
void PumpPendingMessages();

// Dispatches this thread's messages until fnDone returns true (then true) or nTimeoutMs have
// passed (then false). fnDone is checked at least every 10 ms.
bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD nTimeoutMs);
