#pragma once
// The program's key, HKEY_CURRENT_USER\Software\Brenwick\Korvex, opened for one load or one
// write of the settings value (KorvexSettings.h, which knows every name, type and default); the
// "Start with Windows" switch; the bits of a hotkey configuration.

#include "hotkeys/HotkeyConfiguration.h"
#include "settings/ModulePath.h"
#include "settings/SmartRegistry.h"

#include <cstdint>

class CApplicationRegistry : private CSmartRegistry {
public:
    // Opens the program's key, creating it on a first run.
    CApplicationRegistry();
    ~CApplicationRegistry() override;

    // A value of the program's key (pszSubkey nullptr) or of one of its subkeys.
    using CSmartRegistry::ReadString;
    using CSmartRegistry::ReadUInt32;
    using CSmartRegistry::WriteString;
    using CSmartRegistry::WriteUInt32;

    // A hotkey configuration: the key code in bits 0-15, Ctrl bit 16, Alt bit 17, Shift bit 18;
    // 0 whenever the key code is 0. Keypad codes are kept as they are.
    static constexpr uint32_t MakeHotkey(bool bCtrl, bool bAlt, bool bShift, uint16_t nKey) {
        if (nKey == 0) {
            return 0;
        }
        return nKey | (bCtrl ? HOTKEY_CTRL : 0u) | (bAlt ? HOTKEY_ALT : 0u) |
               (bShift ? HOTKEY_SHIFT : 0u);
    }
    static constexpr uint16_t GetHotkeyKey(uint32_t nConfiguration) {
        return static_cast<uint16_t>(nConfiguration & HOTKEY_KEY_MASK);
    }
    // Each gives the modifier's bit shifted down (1, 2 or 4) when it is set, else 0.
    static constexpr uint32_t HasCtrl(uint32_t nConfiguration) {
        return (nConfiguration & HOTKEY_CTRL) >> HOTKEY_MODIFIER_SHIFT;
    }
    static constexpr uint32_t HasAlt(uint32_t nConfiguration) {
        return (nConfiguration & HOTKEY_ALT) >> HOTKEY_MODIFIER_SHIFT;
    }
    static constexpr uint32_t HasShift(uint32_t nConfiguration) {
        return (nConfiguration & HOTKEY_SHIFT) >> HOTKEY_MODIFIER_SHIFT;
    }

    // The value "Korvex" in the per-user Run key, holding the quoted path of this program.
    // Neither operation shows a message; a failure leaves the switch as it was.
    bool IsStartWithWindows();
    void SetStartWithWindows(bool bOn);
};
