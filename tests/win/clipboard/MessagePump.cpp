#include "MessagePump.h"

namespace {

void DispatchWaiting() {
    MSG oMsg;
    while (PeekMessageW(&oMsg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&oMsg);
        DispatchMessageW(&oMsg);
    }
}

} // namespace

bool PumpUntil(const std::function<bool()>& fnDone, DWORD nTimeoutMs) {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        DispatchWaiting();
        if (fnDone()) {
            return true;
        }
        const ULONGLONG nNow = GetTickCount64();
        if (nNow >= nDeadline) {
            return false;
        }
        // Wake on the next message, or after a short while to look at the condition again.
        const DWORD nWait = nDeadline - nNow < 10 ? static_cast<DWORD>(nDeadline - nNow) : 10;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, nWait, QS_ALLINPUT);
    }
}

void PumpFor(DWORD nMs) {
    PumpUntil([] { return false; }, nMs);
}
