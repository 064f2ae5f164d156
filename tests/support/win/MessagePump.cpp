#include "tests/support/win/MessagePump.h"

namespace wintest {

namespace {

void TranslateAndDispatch(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

MessageDispatcher g_pfnDispatch = &TranslateAndDispatch;

} // namespace

MessageDispatcher SetMessageDispatcher(MessageDispatcher pfnDispatch) {
    const MessageDispatcher pfnPrevious = g_pfnDispatch;
    g_pfnDispatch = pfnDispatch != nullptr ? pfnDispatch : &TranslateAndDispatch;
    return pfnPrevious;
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        g_pfnDispatch(msg);
    }
}

bool PumpUntil(const std::function<bool()>& fnDone, DWORD nTimeoutMs) {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        PumpPending();
        if (fnDone()) {
            return true;
        }
        const ULONGLONG nNow = GetTickCount64();
        if (nNow >= nDeadline) {
            return fnDone();
        }
        const ULONGLONG nLeft = nDeadline - nNow;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, nLeft < 10 ? static_cast<DWORD>(nLeft) : 10,
                                  QS_ALLINPUT);
    }
}

void PumpFor(DWORD nMs) {
    PumpUntil([] { return false; }, nMs);
}

} // namespace wintest
