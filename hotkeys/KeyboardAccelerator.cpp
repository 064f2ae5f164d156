#include "hotkeys/KeyboardAccelerator.h"

namespace {

// GetKeyState and GetAsyncKeyState report a held key with the high-order bit set.
bool IsHeld(SHORT nState) {
    return (nState & 0x8000) != 0;
}

} // namespace

CKeyboardAccelerator gl_oKeyboardAccelerator;

CKeyboardAccelerator::CKeyboardAccelerator() = default;

CKeyboardAccelerator::CKeyboardAccelerator(const CKeyboardAccelerator& other) = default;

CKeyboardAccelerator& CKeyboardAccelerator::operator=(const CKeyboardAccelerator& other) = default;

CKeyboardAccelerator::~CKeyboardAccelerator() = default;

uint32_t CKeyboardAccelerator::MakeHotkeyConfiguration(int nCtrl, int nAlt, int nShift,
                                                       uint16_t nKey) {
    if (nKey == VK_SEPARATOR) {
        nKey = VK_RETURN;
    } else if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9) {
        nKey = static_cast<uint16_t>(nKey - (VK_NUMPAD0 - '0'));
    }
    uint32_t nModifiers = 0;
    if (nCtrl != 0) {
        nModifiers |= HOTKEY_CTRL;
    }
    if (nAlt != 0) {
        nModifiers |= HOTKEY_ALT;
    }
    if (nShift != 0) {
        nModifiers |= HOTKEY_SHIFT;
    }
    return nModifiers | nKey;
}

uint32_t CKeyboardAccelerator::GetCurrentConfiguration(uint16_t nKey) {
    const bool bCtrl = IsHeld(GetKeyState(VK_CONTROL));
    const bool bAlt = IsHeld(GetKeyState(VK_MENU));
    const bool bShift = IsHeld(GetKeyState(VK_SHIFT));
    return MakeHotkeyConfiguration(bCtrl, bAlt, bShift, nKey);
}

uint32_t CKeyboardAccelerator::GetLiveConfiguration(uint16_t nKey) {
    const bool bCtrl = IsHeld(GetAsyncKeyState(VK_CONTROL));
    const bool bAlt = IsHeld(GetAsyncKeyState(VK_MENU));
    const bool bShift = IsHeld(GetAsyncKeyState(VK_SHIFT));
    return MakeHotkeyConfiguration(bCtrl, bAlt, bShift, nKey);
}

void CKeyboardAccelerator::AddHotkeyFunction(int nCtrl, int nAlt, int nShift, uint16_t nKey,
                                             HOTKEY_FUNCTION pfn) {
    m_mapFunctions[MakeHotkeyConfiguration(nCtrl, nAlt, nShift, nKey)] = pfn;
}

void CKeyboardAccelerator::RemoveHotkeyFunction(uint32_t nConfiguration) {
    m_mapFunctions.erase(nConfiguration);
}

int CKeyboardAccelerator::CallFunction(CShortcutTarget* pWnd, uint16_t nKey) const {
    const auto it = m_mapFunctions.find(GetCurrentConfiguration(nKey));
    if (it == m_mapFunctions.end()) {
        return 0;
    }
    // Copied first: the operation may change this table while it runs.
    const HOTKEY_FUNCTION pfn = it->second;
    (pWnd->*pfn)();
    return 1;
}

void CKeyboardAccelerator::AddHotkeyMessageID(uint32_t nConfiguration, uint32_t nMessageID) {
    if (nConfiguration == 0) {
        return;
    }
    m_mapMessageIDs[nConfiguration] = nMessageID;
}

void CKeyboardAccelerator::AddHotkeyMessageID(int nCtrl, int nAlt, int nShift, uint16_t nKey,
                                              uint32_t nMessageID) {
    m_mapMessageIDs[MakeHotkeyConfiguration(nCtrl, nAlt, nShift, nKey)] = nMessageID;
}

void CKeyboardAccelerator::RemoveHotkeyMessageID(uint32_t nConfiguration) {
    m_mapMessageIDs.erase(nConfiguration);
}

uint32_t CKeyboardAccelerator::GetMessageID(uint32_t nConfiguration) const {
    const auto it = m_mapMessageIDs.find(nConfiguration);
    return it == m_mapMessageIDs.end() ? 0 : it->second;
}

int CKeyboardAccelerator::ContainsMessageID(uint32_t nConfiguration) const {
    return m_mapMessageIDs.find(nConfiguration) != m_mapMessageIDs.end() ? 1 : 0;
}

int CKeyboardAccelerator::PostMessageIDConfiguration(HWND hWnd, uint32_t nConfiguration) const {
    const auto it = m_mapMessageIDs.find(nConfiguration);
    if (it == m_mapMessageIDs.end()) {
        return 0;
    }
    PostMessageW(hWnd, it->second, 0, 0);
    return 1;
}

int CKeyboardAccelerator::SendMessageIDConfiguration(HWND hWnd, uint32_t nConfiguration) const {
    const auto it = m_mapMessageIDs.find(nConfiguration);
    if (it == m_mapMessageIDs.end()) {
        return 0;
    }
    SendMessageW(hWnd, it->second, 0, 0);
    return 1;
}

int CKeyboardAccelerator::PostMessageID(HWND hWnd, uint16_t nKey) const {
    return PostMessageIDConfiguration(hWnd, GetCurrentConfiguration(nKey));
}

int CKeyboardAccelerator::SendMessageID(HWND hWnd, uint16_t nKey) const {
    return SendMessageIDConfiguration(hWnd, GetCurrentConfiguration(nKey));
}
