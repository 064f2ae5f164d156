#include "hotkeys/HookKey.h"

#include <windows.h>

#include <array>
#include <utility>

#include "hotkeys/KeyboardAccelerator.h"

namespace {

bool IsHeldNow(int nVirtualKey) {
    return (GetAsyncKeyState(nVirtualKey) & 0x8000) != 0;
}

// Whether some character of the layout needs Ctrl+Alt: VkKeyScanExW gives the shift state in
// its high byte (1 Shift, 2 Ctrl, 4 Alt); AltGr characters report Ctrl and Alt.
bool LayoutHasAltGr(HKL hLayout) {
    for (wchar_t c = 0x21; c < 0x250; ++c) {
        const SHORT nScan = VkKeyScanExW(c, hLayout);
        if (nScan != -1 && (HIBYTE(nScan) & 6) == 6) {
            return true;
        }
    }
    return false;
}

} // namespace

uint32_t HookKeyConfiguration(uint16_t nKey, const HOOK_MODIFIERS& oModifiers,
                              bool (*fnLayoutHasAltGr)()) {
    if (oModifiers.bRightAlt && !oModifiers.bLeftAlt && fnLayoutHasAltGr()) {
        return 0; // AltGr types a character
    }
    return CKeyboardAccelerator::MakeHotkeyConfiguration(
        oModifiers.bCtrl, oModifiers.bLeftAlt || oModifiers.bRightAlt, oModifiers.bShift, nKey);
}

HOOK_MODIFIERS GetLiveHookModifiers() {
    HOOK_MODIFIERS oModifiers;
    oModifiers.bCtrl = IsHeldNow(VK_CONTROL);
    oModifiers.bLeftAlt = IsHeldNow(VK_LMENU);
    oModifiers.bRightAlt = IsHeldNow(VK_RMENU);
    oModifiers.bShift = IsHeldNow(VK_SHIFT);
    return oModifiers;
}

bool ForegroundLayoutHasAltGr() {
    // The hook runs on one thread only: a small cache of the layouts seen, without a lock.
    static std::array<std::pair<HKL, bool>, 8> s_arrSeen{};
    static size_t s_nNext = 0;
    const HWND hForeground = GetForegroundWindow();
    const HKL hLayout = GetKeyboardLayout(
        hForeground != nullptr ? GetWindowThreadProcessId(hForeground, nullptr) : 0);
    for (const auto& oSeen : s_arrSeen) {
        if (oSeen.first == hLayout && hLayout != nullptr) {
            return oSeen.second;
        }
    }
    const bool bHasAltGr = LayoutHasAltGr(hLayout);
    s_arrSeen[s_nNext] = {hLayout, bHasAltGr};
    s_nNext = (s_nNext + 1) % s_arrSeen.size();
    return bHasAltGr;
}
