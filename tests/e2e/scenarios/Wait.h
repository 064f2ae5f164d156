#pragma once
// Every wait of the scenarios: a condition polled until it holds or a deadline passes.

#include <windows.h>

namespace e2e {

// Polls bCondition every nPollMs until it is true (returns true) or nTimeoutMs have passed
// (returns false after one last look).
template <class Condition>
bool WaitUntil(Condition bCondition, DWORD nTimeoutMs, DWORD nPollMs = 20) {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        if (bCondition()) {
            return true;
        }
        if (GetTickCount64() >= nDeadline) {
            return bCondition();
        }
        Sleep(nPollMs);
    }
}

// Milliseconds since nStart (a GetTickCount64 value).
inline ULONGLONG ElapsedMs(ULONGLONG nStart) {
    return GetTickCount64() - nStart;
}

} // namespace e2e
