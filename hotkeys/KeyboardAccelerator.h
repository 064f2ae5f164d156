#pragma once
// The hotkey table of zendel.dll. A hotkey configuration is one 32-bit word: the virtual-key code
// in bits 0-15, Ctrl in bit 16, Alt in bit 17, Shift in bit 18; 0 means "no hotkey".
//
// Two independent tables: configuration -> window message (the global hotkeys, looked up by the
// keyboard hook) and configuration -> member operation of a window (window-local shortcuts,
// dispatched by CallFunction).
//
// Both the library and every program that links it carry their own static C++ runtime, so every
// operation that touches the tables lives in the library (out of line, exported); the header
// holds declarations only.

#include <cstdint>
#include <unordered_map>

#include <windows.h>

#include "hotkeys/HotkeyConfiguration.h"
#include "hotkeys/ShortcutTarget.h"
#include "hotkeys/ZendelApi.h"

class ZENDEL_API CKeyboardAccelerator {
public:
    CKeyboardAccelerator();
    CKeyboardAccelerator(const CKeyboardAccelerator& other);
    CKeyboardAccelerator& operator=(const CKeyboardAccelerator& other);
    virtual ~CKeyboardAccelerator();

    // Configuration of a combination; each modifier counts as held when its argument is
    // non-zero. Keypad digits (0x60-0x69) become the digits 0x30-0x39 and the keypad
    // separator (0x6C) becomes Enter (0x0D), so the keypad triggers the main keys' bindings.
    static uint32_t MakeHotkeyConfiguration(int nCtrl, int nAlt, int nShift, uint16_t nKey);
    // Configuration of nKey with the modifiers of the message being handled (GetKeyState):
    // for window-local shortcuts, called while a key message is processed.
    static uint32_t GetCurrentConfiguration(uint16_t nKey);
    // Configuration of nKey with the modifiers physically held right now (GetAsyncKeyState):
    // for the keyboard hook, which sees keys that are bound for other programs' queues.
    static uint32_t GetLiveConfiguration(uint16_t nKey);

    // Window-local shortcuts.
    void AddHotkeyFunction(int nCtrl, int nAlt, int nShift, uint16_t nKey, HOTKEY_FUNCTION pfn);
    void RemoveHotkeyFunction(uint32_t nConfiguration);
    // Runs the operation bound to nKey with the current modifiers on pWnd; 1 when one ran, else 0.
    int CallFunction(CShortcutTarget* pWnd, uint16_t nKey) const;

    // Global hotkeys. The configuration form ignores configuration 0; the five-argument form
    // stores whatever it builds, key 0 included.
    void AddHotkeyMessageID(uint32_t nConfiguration, uint32_t nMessageID);
    void AddHotkeyMessageID(int nCtrl, int nAlt, int nShift, uint16_t nKey, uint32_t nMessageID);
    void RemoveHotkeyMessageID(uint32_t nConfiguration);
    uint32_t GetMessageID(uint32_t nConfiguration) const; // 0 when not bound
    int ContainsMessageID(uint32_t nConfiguration) const;

    // Delivery of the bound message, both parameters 0. Return 1 when the configuration is
    // bound (whatever the post or send itself did), 0 when it is not (nothing is delivered).
    int PostMessageIDConfiguration(HWND hWnd, uint32_t nConfiguration) const;
    int SendMessageIDConfiguration(HWND hWnd, uint32_t nConfiguration) const;
    int PostMessageID(HWND hWnd, uint16_t nKey) const;
    int SendMessageID(HWND hWnd, uint16_t nKey) const;

private:
    std::unordered_map<uint32_t, HOTKEY_FUNCTION> m_mapFunctions;
    std::unordered_map<uint32_t, uint32_t> m_mapMessageIDs;
};

// The table of the global hotkeys, read by the library's keyboard hook.
extern ZENDEL_API CKeyboardAccelerator gl_oKeyboardAccelerator;
