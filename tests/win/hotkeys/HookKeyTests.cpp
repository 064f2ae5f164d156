// The hook's decision for a key press: AltGr (the right Alt alone) on a layout that has it is a
// character, never a Ctrl+Alt hotkey; everything else is the usual configuration.

#include "hotkeys/HookKey.h"
#include "hotkeys/HotkeyConfiguration.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

int g_nLayoutAsked = 0;
bool AltGrLayout() {
    ++g_nLayoutAsked;
    return true;
}
bool PlainLayout() {
    ++g_nLayoutAsked;
    return false;
}

} // namespace

TEST(HookKey, RightAltAloneOnAnAltGrLayoutFiresNothing) {
    constexpr uint32_t kCtrlAlt = HOTKEY_CTRL | HOTKEY_ALT;
    const struct {
        HOOK_MODIFIERS oModifiers; // Ctrl, left Alt, right Alt, Shift
        uint32_t nOnAltGrLayout;   // modifier bits of the configuration, ~0u: none at all
        uint32_t nOnPlainLayout;
        bool bAsksLayout;
    } arrCases[] = {
        {{true, false, true, false}, ~0u, kCtrlAlt, true},               // AltGr
        {{true, false, true, true}, ~0u, kCtrlAlt | HOTKEY_SHIFT, true}, // AltGr+Shift
        {{false, false, true, false}, ~0u, HOTKEY_ALT, true},            // right Alt
        {{true, true, false, false}, kCtrlAlt, kCtrlAlt, false},         // left Ctrl+Alt
        {{true, true, true, false}, kCtrlAlt, kCtrlAlt, false},          // both Alts
        {{true, true, false, true}, kCtrlAlt | HOTKEY_SHIFT, kCtrlAlt | HOTKEY_SHIFT, false},
        {{false, true, false, false}, HOTKEY_ALT, HOTKEY_ALT, false},     // left Alt
        {{true, false, false, false}, HOTKEY_CTRL, HOTKEY_CTRL, false},   // Ctrl
        {{false, false, false, true}, HOTKEY_SHIFT, HOTKEY_SHIFT, false}, // Shift
        {{false, false, false, false}, 0, 0, false},                      // none
    };
    for (const auto& oCase : arrCases) {
        const HOOK_MODIFIERS& m = oCase.oModifiers;
        SCOPED_TRACE(::testing::Message() << "Ctrl " << m.bCtrl << " left Alt " << m.bLeftAlt
                                          << " right Alt " << m.bRightAlt << " Shift " << m.bShift);
        for (const uint16_t nKey : {uint16_t{'0'}, uint16_t{'9'}, uint16_t{VK_NUMPAD0}}) {
            const uint32_t nKeyBits = nKey == VK_NUMPAD0 ? '0' : nKey; // keypad counts as digit
            const auto fnExpected = [&](uint32_t nBits) {
                return nBits == ~0u ? 0 : nBits | nKeyBits;
            };
            g_nLayoutAsked = 0;
            EXPECT_EQ(HookKeyConfiguration(nKey, m, AltGrLayout), fnExpected(oCase.nOnAltGrLayout));
            EXPECT_EQ(HookKeyConfiguration(nKey, m, PlainLayout), fnExpected(oCase.nOnPlainLayout));
            EXPECT_EQ(g_nLayoutAsked, oCase.bAsksLayout ? 2 : 0);
        }
    }
}
