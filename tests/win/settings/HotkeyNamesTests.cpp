// Building hotkey configurations, the key-name table, the text of a binding and the command
// record: pure functions, no registry involved.

#include "settings/ApplicationRegistry.h"
#include "settings/HotkeyText.h"
#include "settings/KeyNameTable.h"
#include "settings/MessageDescription.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

TEST(settingsMakeHotkey, PacksKeyAndModifiersAndGivesZeroWithoutKey) {
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(true, true, false, 'A'), 0x00030041u);
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(false, false, true, 0x72), 0x00040072u);
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(true, true, true, '0'), 0x00070030u);
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(false, false, false, 0x71), 0x00000071u);
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(true, true, false, 0), 0u);
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(true, true, true, 0), 0u);
    // Keypad codes are kept as they are.
    EXPECT_EQ(CApplicationRegistry::MakeHotkey(true, true, false, 0x65), 0x00030065u);
}

TEST(settingsMakeHotkey, TakesConfigurationsApart) {
    EXPECT_EQ(CApplicationRegistry::GetHotkeyKey(0x0007006A), 0x006Au);
    EXPECT_EQ(CApplicationRegistry::HasCtrl(0x00070030), 1u);
    EXPECT_EQ(CApplicationRegistry::HasAlt(0x00070030), 2u);
    EXPECT_EQ(CApplicationRegistry::HasShift(0x00070030), 4u);
    EXPECT_EQ(CApplicationRegistry::HasCtrl(0x00060030), 0u);
    EXPECT_EQ(CApplicationRegistry::HasAlt(0x00050030), 0u);
    EXPECT_EQ(CApplicationRegistry::HasShift(0x00030030), 0u);
    // Key codes that look like modifier bits stay in the key half.
    EXPECT_EQ(CApplicationRegistry::HasCtrl(0x0000FFFF), 0u);
}

TEST(settingsKeyNames, SixtySevenKeysInDisplayOrder) {
    CKeyNameTable oTable;
    EXPECT_TRUE(oTable.GetKeyCodes().empty());
    oTable.Build();
    oTable.Build(); // a second build adds nothing
    const auto& vecCodes = oTable.GetKeyCodes();
    ASSERT_EQ(vecCodes.size(), 67u);
    EXPECT_EQ(vecCodes[0], 0x00);
    EXPECT_EQ(vecCodes[1], 0x41);
    EXPECT_EQ(vecCodes[2], 0x42);
    EXPECT_EQ(vecCodes[26], 0x5A); // letters end before the digits begin
    EXPECT_EQ(vecCodes[27], 0x30);
    EXPECT_EQ(vecCodes[37], 0x08);
    EXPECT_EQ(vecCodes[50], 0x6A);
    EXPECT_EQ(vecCodes[66], 0x7B);
    EXPECT_EQ(std::set<uint16_t>(vecCodes.begin(), vecCodes.end()).size(), 67u);
    for (uint16_t nCode : vecCodes) {
        std::wstring strName;
        EXPECT_TRUE(oTable.GetKeyName(nCode, strName)) << nCode;
        EXPECT_FALSE(strName.empty()) << nCode;
    }
}

TEST(settingsKeyNames, NamesAndKeysWithoutName) {
    CApplicationRegistry oSettings;
    const std::pair<uint32_t, const wchar_t*> aNames[] = {
        {0x00, L"(None)"},    {0x41, L"A"},          {0x5A, L"Z"},          {0x30, L"0"},
        {0x39, L"9"},         {0x08, L"Backspace"},  {0x0D, L"Enter"},      {0x20, L"Space"},
        {0x22, L"Page Down"}, {0x25, L"Arrow Left"}, {0x28, L"Arrow Down"}, {0x2E, L"Delete"},
        {0x6D, L"Numpad -"},  {0x6E, L"Numpad ."},   {0x70, L"F1"},         {0x7B, L"F12"}};
    for (const auto& [nCode, pszName] : aNames) {
        std::wstring strName;
        EXPECT_TRUE(oSettings.GetKeyName(nCode, strName)) << nCode;
        EXPECT_EQ(strName, pszName);
    }
    EXPECT_EQ(oSettings.GetKeyCodes().size(), 67u);

    // Keypad digits, the separator, Escape, Tab, punctuation and F13 have no name; the
    // name given in is left alone.
    for (uint32_t nCode : {0x65u, 0x60u, 0x6Cu, 0x1Bu, 0x09u, 0xBAu, 0x7Cu, 0x10041u}) {
        std::wstring strName = L"unchanged";
        EXPECT_FALSE(oSettings.GetKeyName(nCode, strName)) << nCode;
        EXPECT_EQ(strName, L"unchanged");
    }
}

TEST(settingsHotkeyText, ModifiersThenKeyName) {
    EXPECT_EQ(GetHotkeyText(0x00030041), L"Ctrl + Alt + A");
    EXPECT_EQ(GetHotkeyText(0x00040072), L"Shift + F3");
    EXPECT_EQ(GetHotkeyText(0x0003006A), L"Ctrl + Alt + Numpad *");
    EXPECT_EQ(GetHotkeyText(0x00070030), L"Ctrl + Alt + Shift + 0");
    EXPECT_EQ(GetHotkeyText(0x00000041), L"A");
    EXPECT_EQ(GetHotkeyText(0), L"");
    EXPECT_EQ(GetHotkeyText(0x000300BA), L"Ctrl + Alt + ");
    EXPECT_EQ(GetHotkeyText(0x00010000), L"Ctrl + (None)");
}

TEST(settingsMessageDescription, DefaultIsAllZerosAndNamesAreBounded) {
    const MESSAGE_DESCRIPTION oEmpty;
    const unsigned char abZeros[sizeof(MESSAGE_DESCRIPTION)] = {};
    EXPECT_EQ(std::memcmp(&oEmpty, abZeros, sizeof(oEmpty)), 0);

    const MESSAGE_DESCRIPTION oShort(0x0402, 0, 1, L"Show Clip Window");
    EXPECT_EQ(oShort.nMessage, 0x0402u);
    EXPECT_EQ(oShort.nIndex, 1u);
    EXPECT_STREQ(oShort.szName, L"Show Clip Window");

    const std::wstring strLong(200, L'n');
    const MESSAGE_DESCRIPTION oLong(1, 2, 3, strLong.c_str());
    EXPECT_EQ(std::wstring(oLong.szName), strLong.substr(0, 127));

    const MESSAGE_DESCRIPTION oCopy = oLong;
    EXPECT_EQ(std::memcmp(&oCopy, &oLong, sizeof(oLong)), 0);
}

} // namespace
