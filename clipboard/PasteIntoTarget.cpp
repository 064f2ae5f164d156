#include "PasteIntoTarget.h"

namespace {

constexpr BYTE VK_V = 0x56;

// The keys go once the target has held the activation and the focus for a few ticks of the
// paste timer (its program settles in meanwhile), or after a bound at the latest.
constexpr UINT PASTE_TIMER_MS = 10;
constexpr int PASTE_SETTLED_TICKS = 5;
constexpr int PASTE_TIMER_TICKS = 25;

// Whether the target has been activated and has given the keyboard focus to one of its windows:
// keys synthesised before that go to no window, or half of them to another one.
bool HasTakenFocus(HWND hWndTarget) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetForegroundWindow() == hWndTarget &&
           GetGUIThreadInfo(GetWindowThreadProcessId(hWndTarget, nullptr), &info) &&
           info.hwndFocus != nullptr;
}

void SynthesisePaste() {
    const bool bControlHeld = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    for (const PASTE_KEY_EVENT& event :
         MakePasteKeyEvents(bControlHeld, ChoosePasteKey(VkKeyScanW(L'v')))) {
        // With the key's scan code: some programs read the character from it.
        keybd_event(event.nVirtualKey,
                    static_cast<BYTE>(MapVirtualKeyW(event.nVirtualKey, MAPVK_VK_TO_VSC)),
                    event.bKeyUp ? KEYEVENTF_KEYUP : 0, 0);
    }
}

// The paste that waits for its target.
struct PENDING_PASTE {
    UINT_PTR nTimer = 0;
    HWND hWndTarget = nullptr;
    int nTicks = 0;
    int nSettledTicks = 0;
};
PENDING_PASTE g_oPending;

void CALLBACK OnPasteTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (IsWindow(g_oPending.hWndTarget)) {
        g_oPending.nSettledTicks =
            HasTakenFocus(g_oPending.hWndTarget) ? g_oPending.nSettledTicks + 1 : 0;
        if (g_oPending.nSettledTicks < PASTE_SETTLED_TICKS &&
            ++g_oPending.nTicks < PASTE_TIMER_TICKS) {
            return;
        }
    }
    KillTimer(nullptr, g_oPending.nTimer);
    g_oPending = PENDING_PASTE{};
    SynthesisePaste();
}

} // namespace

BYTE ChoosePasteKey(SHORT nVkKeyScan) {
    const auto nKey = static_cast<BYTE>(nVkKeyScan & 0xFF);
    if (nVkKeyScan == -1 || nKey == 0 || nKey == 0xFF) {
        return VK_V;
    }
    return nKey;
}

std::vector<PASTE_KEY_EVENT> MakePasteKeyEvents(bool bControlHeld, BYTE nPasteKey) {
    std::vector<PASTE_KEY_EVENT> arrEvents;
    if (!bControlHeld) {
        arrEvents.push_back({VK_CONTROL, false});
    }
    arrEvents.push_back({nPasteKey, false});
    arrEvents.push_back({nPasteKey, true});
    if (!bControlHeld) {
        arrEvents.push_back({VK_CONTROL, true});
    }
    return arrEvents;
}

void PasteIntoTarget(HWND hWndToClose, HWND hWndTarget, bool bPaste) {
    // The target first, then the window goes: left to itself, the system hands the activation
    // of a destroyed window on asynchronously, to a window of its own choice, and keys
    // synthesised meanwhile are lost.
    if (hWndTarget != nullptr && hWndTarget != hWndToClose && IsWindow(hWndTarget)) {
        SetForegroundWindow(hWndTarget);
    }
    if (hWndToClose != nullptr) {
        DestroyWindow(hWndToClose);
    }
    if (!bPaste) {
        return;
    }
    // The keys go from the message loop, once the activation has moved on: the system hands
    // it over through messages, some of them to this thread.
    if (g_oPending.nTimer != 0) { // an earlier paste still waiting goes now
        KillTimer(nullptr, g_oPending.nTimer);
        g_oPending = PENDING_PASTE{};
        SynthesisePaste();
    }
    g_oPending =
        PENDING_PASTE{SetTimer(nullptr, 0, PASTE_TIMER_MS, &OnPasteTimer), hWndTarget, 0, 0};
    if (g_oPending.nTimer == 0) {
        g_oPending = PENDING_PASTE{};
        SynthesisePaste();
    }
}
