#include "MessagePump.h"

void PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD nTimeoutMs) {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        PumpPendingMessages();
        if (fnDone()) {
            return true;
        }
        if (GetTickCount64() >= nDeadline) {
            return false;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
