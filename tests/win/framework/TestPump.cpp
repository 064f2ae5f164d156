#include "TestPump.h"

#include "framework/MessageLoop.h"

bool PumpUntil(const std::function<bool()>& bDone, DWORD nTimeoutMs) {
    ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        PumpPending();
        if (bDone())
            return true;
        ULONGLONG nNow = GetTickCount64();
        if (nNow >= nDeadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(nDeadline - nNow),
                                  QS_ALLINPUT);
    }
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) { // not ours to eat: leave it for the test that waits
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        PumpMessage(msg);
    }
}
