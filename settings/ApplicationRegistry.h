#pragma once
// Korvex's settings, each with its name, type and default, kept under
// HKEY_CURRENT_USER\Software\Brenwick\Korvex; the hotkey bindings; the "Start with Windows"
// switch; the names of the keys a hotkey can use. Nothing is cached: create one where it is
// needed, read or write, and let it go.

#include "hotkeys/HotkeyConfiguration.h"
#include "settings/KeyNameTable.h"
#include "settings/ModulePath.h"
#include "settings/SmartRegistry.h"

#include <cstdint>
#include <string>
#include <vector>

class CApplicationRegistry : private CSmartRegistry {
public:
    // Opens the program's key, creating it on a first run.
    CApplicationRegistry();
    ~CApplicationRegistry() override;

    // Non-zero until the first start-up has run its first-run step; default 1.
    uint32_t GetFirstRun();
    void SetFirstRun(uint32_t nValue);

    // The main frame's restored rectangle; defaults 0, 0, 360, 550. Positions are signed
    // (monitors left of or above the primary one).
    void GetMainWindowPlacement(int32_t& nLeft, int32_t& nTop, int32_t& nWidth, int32_t& nHeight);
    void SetMainWindowPlacement(int32_t nLeft, int32_t nTop, int32_t nWidth, int32_t nHeight);

    // Docking at the screen edges, 0 off; default 1.
    uint32_t GetDockingEnabled();
    void SetDockingEnabled(uint32_t nValue);

    // The small clip window's size; defaults 415, 250.
    void GetSmallWindowSize(int32_t& nWidth, int32_t& nHeight);
    void SetSmallWindowSize(int32_t nWidth, int32_t nHeight);

    // The find dialog's size when it was last closed (never read back).
    void SetFindWindowSize(int32_t nWidth, int32_t nHeight);

    // Paste the activated entry into the target window, 0 off, 1 on; default 0.
    uint32_t GetDoPaste();
    void SetDoPaste(uint32_t nValue);

    // Most entries the history keeps; default 200.
    int32_t GetBufferSize();
    void SetBufferSize(int32_t nValue);

    // Largest clipboard text taken, in units of 1,000,000 bytes; default 5.
    uint32_t GetMaxClipboardCopySize();
    void SetMaxClipboardCopySize(uint32_t nValue);

    // Interval in milliseconds of the viewer-chain re-join timer; default and minimum 10000.
    uint32_t GetResetClipboardTimer();

    // The binding of a hotkey command, stored under its message number in decimal; a stored
    // value (0 included) wins over the command's default nDefault.
    uint32_t GetHotkey(uint32_t nMessage, uint32_t nDefault);
    void SetHotkey(uint32_t nMessage, uint32_t nConfiguration);

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

    // The keys a hotkey can use, in display order, and their names (built on first use).
    const std::vector<uint16_t>& GetKeyCodes();
    bool GetKeyName(uint32_t nKeyCode, std::wstring& strName);

private:
    CKeyNameTable m_oKeyNames;
};
