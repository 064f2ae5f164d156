#include "HookProbe.h"

#include "MessagePump.h"

namespace {

std::vector<HOOK_EVENT> g_vecEvents;
HHOOK g_hProbeHook = nullptr;

bool IsUp(WPARAM nMessage) {
    return nMessage == WM_KEYUP || nMessage == WM_SYSKEYUP;
}

} // namespace

CHookProbe::CHookProbe() {
    g_vecEvents.clear();
    m_hHook =
        SetWindowsHookExW(WH_KEYBOARD_LL, &CHookProbe::HookProc, GetModuleHandleW(nullptr), 0);
    g_hProbeHook = m_hHook;
}

CHookProbe::~CHookProbe() {
    if (m_hHook != nullptr) {
        UnhookWindowsHookEx(m_hHook);
    }
    g_hProbeHook = nullptr;
}

void CHookProbe::Clear() {
    g_vecEvents.clear();
}

const std::vector<HOOK_EVENT>& CHookProbe::Events() const {
    return g_vecEvents;
}

bool CHookProbe::WaitForStrokes(const std::vector<KEY_STROKE>& vecStrokes, DWORD nTimeoutMs) const {
    return PumpMessagesUntil(
        [&] {
            size_t nMatched = 0;
            for (const HOOK_EVENT& oEvent : g_vecEvents) {
                if (nMatched < vecStrokes.size() && oEvent.nKey == vecStrokes[nMatched].nKey &&
                    IsUp(oEvent.nMessage) == vecStrokes[nMatched].bUp) {
                    ++nMatched;
                }
            }
            return nMatched == vecStrokes.size();
        },
        nTimeoutMs);
}

LRESULT CALLBACK CHookProbe::HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    // The rest of the chain (the library's hook among it) runs first.
    const LRESULT nResult = CallNextHookEx(g_hProbeHook, nCode, wParam, lParam);
    if (nCode == HC_ACTION) {
        const auto* pEvent = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        g_vecEvents.push_back({pEvent->vkCode, wParam});
    }
    return nResult;
}
