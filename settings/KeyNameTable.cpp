#include "settings/KeyNameTable.h"

#include <utility>

void CKeyNameTable::Add(uint16_t nKeyCode, std::wstring strName) {
    m_lstKeyCodes.push_back(nKeyCode);
    m_mapNames[nKeyCode] = std::move(strName);
}

void CKeyNameTable::Build() {
    if (m_bBuilt) {
        return;
    }
    Add(0x00, L"(None)");
    // Letters, then digits: their virtual-key codes are their own characters.
    for (uint16_t nKey = 'A'; nKey <= 'Z'; ++nKey) {
        Add(nKey, std::wstring(1, static_cast<wchar_t>(nKey)));
    }
    for (uint16_t nKey = '0'; nKey <= '9'; ++nKey) {
        Add(nKey, std::wstring(1, static_cast<wchar_t>(nKey)));
    }
    Add(0x08, L"Backspace");
    Add(0x0D, L"Enter");
    Add(0x20, L"Space");
    Add(0x21, L"Page Up");
    Add(0x22, L"Page Down");
    Add(0x23, L"End");
    Add(0x24, L"Home");
    Add(0x25, L"Arrow Left");
    Add(0x26, L"Arrow Up");
    Add(0x27, L"Arrow Right");
    Add(0x28, L"Arrow Down");
    Add(0x2D, L"Insert");
    Add(0x2E, L"Delete");
    Add(0x6A, L"Numpad *");
    Add(0x6B, L"Numpad +");
    Add(0x6D, L"Numpad -");
    Add(0x6E, L"Numpad .");
    Add(0x6F, L"Numpad /");
    for (uint16_t nKey = 0x70; nKey <= 0x7B; ++nKey) {
        Add(nKey, L"F" + std::to_wstring(nKey - 0x70 + 1));
    }
    m_bBuilt = true;
}

bool CKeyNameTable::GetKeyName(uint32_t nKeyCode, std::wstring& strName) const {
    const auto it = m_mapNames.find(nKeyCode);
    if (it == m_mapNames.end()) {
        return false;
    }
    strName = it->second;
    return true;
}
