#pragma once
// Waiting in the tests: dispatch this thread's messages until a condition holds or a deadline
// passes (never a bare sleep).

#include <windows.h>

#include <functional>

// Dispatches messages (through the framework's pre-translation) until bDone() is true or
// nTimeoutMs passed; returns bDone()'s last answer.
bool PumpUntil(const std::function<bool()>& bDone, DWORD nTimeoutMs = 3000);

// Dispatches what is queued now, without waiting.
void PumpPending();
