// The key-name table and the text of a binding: pure functions, no registry involved. (The bits
// of a configuration: the accelerator's tests; the defaults built from them: the command table's.)

#include "settings/HotkeyText.h"
#include "settings/KeyNameTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(settingsKeyNames, SixtySevenNamedKeysInDisplayOrder) {
    CKeyNameTable oKeyNames;
    oKeyNames.Build();
    const auto& vecCodes = oKeyNames.GetKeyCodes();
    ASSERT_EQ(vecCodes.size(), 67u);
    EXPECT_EQ(std::vector<uint16_t>(vecCodes.begin(), vecCodes.begin() + 3),
              (std::vector<uint16_t>{0x00, 0x41, 0x42}));
    EXPECT_EQ(vecCodes[27], 0x30); // digits after the letters
    EXPECT_EQ(std::set<uint16_t>(vecCodes.begin(), vecCodes.end()).size(), 67u);
    oKeyNames.Build();
    EXPECT_EQ(oKeyNames.GetKeyCodes().size(), 67u); // built again: built once

    const std::pair<uint32_t, const wchar_t*> aNames[] = {
        {0x00, L"(None)"},   {0x5A, L"Z"},         {0x39, L"9"},          {0x08, L"Backspace"},
        {0x20, L"Space"},    {0x22, L"Page Down"}, {0x25, L"Arrow Left"}, {0x2E, L"Delete"},
        {0x6D, L"Numpad -"}, {0x6F, L"Numpad /"},  {0x7B, L"F12"}};
    for (const auto& [nCode, pszName] : aNames) {
        std::wstring strName;
        EXPECT_TRUE(oKeyNames.GetKeyName(nCode, strName)) << nCode;
        EXPECT_EQ(strName, pszName);
    }
    // Keypad digits, the separator, Escape, Tab, punctuation and F13 have no name; the name
    // given in is left alone.
    for (uint32_t nCode : {0x65u, 0x60u, 0x6Cu, 0x1Bu, 0x09u, 0xBAu, 0x7Cu, 0x10041u}) {
        std::wstring strName = L"unchanged";
        EXPECT_FALSE(oKeyNames.GetKeyName(nCode, strName)) << nCode;
        EXPECT_EQ(strName, L"unchanged");
    }
}

TEST(settingsHotkeyText, ModifiersThenKeyName) {
    const std::pair<uint32_t, const wchar_t*> aTexts[] = {{0x00030041, L"Ctrl + Alt + A"},
                                                          {0x00040072, L"Shift + F3"},
                                                          {0x0003006A, L"Ctrl + Alt + Numpad *"},
                                                          {0x00070030, L"Ctrl + Alt + Shift + 0"},
                                                          {0x00000041, L"A"},
                                                          {0, L""},
                                                          {0x000300BA, L"Ctrl + Alt + "},
                                                          {0x00010000, L"Ctrl + (None)"}};
    for (const auto& [nConfiguration, pszText] : aTexts) {
        EXPECT_EQ(GetHotkeyText(nConfiguration), pszText) << std::hex << nConfiguration;
    }
}

} // namespace
