#pragma once
// The keys a hotkey can be bound to, with their display names, in display order. A key that is
// not in the table cannot be chosen in the user interface.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CKeyNameTable {
public:
    // Fills the table; later calls do nothing.
    void Build();
    bool IsBuilt() const { return m_bBuilt; }

    // The key codes in display order, "(None)" (0) first. Empty until built.
    const std::vector<uint16_t>& GetKeyCodes() const { return m_lstKeyCodes; }

    // Sets strName and returns true when the code has a name; otherwise leaves strName alone.
    bool GetKeyName(uint32_t nKeyCode, std::wstring& strName) const;

private:
    void Add(uint16_t nKeyCode, std::wstring strName);

    bool m_bBuilt = false;
    std::unordered_map<uint32_t, std::wstring> m_mapNames;
    std::vector<uint16_t> m_lstKeyCodes;
};
