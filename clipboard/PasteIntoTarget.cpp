#include "PasteIntoTarget.h"

#include <utility>

namespace {

constexpr BYTE VK_V = 0x56;

// The keys go once the target has held the activation and the focus for a few ticks of the
// paste timer (its program settles in meanwhile), or after a bound at the latest.
constexpr UINT PASTE_TIMER_MS = 10;
constexpr int PASTE_SETTLED_TICKS = 5;
constexpr int PASTE_TIMER_TICKS = 25;

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

// The keyboard's return (and the paste) that waits for its target.
struct PENDING_PASTE {
    UINT_PTR nTimer = 0;
    KEYBOARD_PLACE oPlace;
    bool bPaste = false;
    int nTicks = 0;
    int nSettledTicks = 0;
};
PENDING_PASTE g_oPending;

// The focus and selection back, then the keys when they are wanted.
void Finish(const PENDING_PASTE& oPending) {
    RestoreKeyboardFocus(oPending.oPlace);
    if (oPending.bPaste) {
        SynthesisePaste();
    }
}

void CALLBACK OnPasteTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (IsWindow(g_oPending.oPlace.hWndActive)) {
        g_oPending.nSettledTicks =
            HasTakenForeground(g_oPending.oPlace) ? g_oPending.nSettledTicks + 1 : 0;
        if (g_oPending.nSettledTicks < PASTE_SETTLED_TICKS &&
            ++g_oPending.nTicks < PASTE_TIMER_TICKS) {
            return;
        }
    }
    KillTimer(nullptr, g_oPending.nTimer);
    Finish(std::exchange(g_oPending, PENDING_PASTE{}));
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

void PasteIntoTarget(HWND hWndToClose, const KEYBOARD_PLACE& oPlace, bool bPaste) {
    // The target first, then the window goes: left to itself, the system hands the activation
    // of a hidden window on asynchronously, to a window of its own choice, and keys synthesised
    // meanwhile are lost.
    const HWND hWndTarget = oPlace.hWndActive;
    if (hWndTarget != nullptr && hWndTarget != hWndToClose && IsWindow(hWndTarget)) {
        SetForegroundWindow(hWndTarget);
    }
    if (hWndToClose != nullptr) {
        ShowWindow(hWndToClose, SW_HIDE);
    }
    // The rest goes from the message loop, once the activation has moved on: the system hands
    // it over through messages, some of them to this thread, and the target's own focus
    // handling (a combo box selects its whole text) must be over before the selection is put
    // back.
    if (g_oPending.nTimer != 0) { // an earlier one still waiting goes now
        KillTimer(nullptr, g_oPending.nTimer);
        Finish(std::exchange(g_oPending, PENDING_PASTE{}));
    }
    g_oPending =
        PENDING_PASTE{SetTimer(nullptr, 0, PASTE_TIMER_MS, &OnPasteTimer), oPlace, bPaste, 0, 0};
    if (g_oPending.nTimer == 0) {
        Finish(std::exchange(g_oPending, PENDING_PASTE{}));
    }
}
