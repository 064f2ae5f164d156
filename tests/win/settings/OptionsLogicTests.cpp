// What the options dialog and the hotkey editor decide apart from their windows: the rows of the
// hotkey list, the number a digit field stores, and the taking of a combination from another
// command, on a clean registry.

#include "RegistryFixture.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "settings/ApplicationRegistry.h"
#include "settings/CommandTable.h"
#include "settings/HotkeyBinding.h"
#include "settings/OptionsRows.h"

namespace {

using settingsOptionsRows = RegistryTest;

TEST_F(settingsOptionsRows, CaptionsThenEachGroupByIndexWithTheStoredBindings) {
    CApplicationRegistry().SetHotkey(0x0401, 0);          // Show Main Window unbound
    CApplicationRegistry().SetHotkey(0x0479, 0x00030054); // Title First Item on Ctrl+Alt+T
    CCommandTable oCommands;
    oCommands.BuildCommandTable();
    CApplicationRegistry oSettings;
    const std::vector<OPTIONS_ROW> vecRows = BuildOptionsRows(oCommands, oSettings);
    ASSERT_EQ(vecRows.size(), 28u);

    const struct {
        size_t nRow;
        uint32_t nMessage;
        const wchar_t* pszName;
        const wchar_t* pszHotkey;
    } aCases[] = {{0, 0, L"View", L""},
                  {1, 0x0401, L"   Show Main Window", L""},
                  {2, 0x0402, L"   Show Clip Window", L"Ctrl + Alt + 0"},
                  {3, 0, L"Edit", L""},
                  {4, 0x0475, L"   Preview First Item", L""},
                  {8, 0x0465, L"   Revert First Items", L"Ctrl + Alt + 9"},
                  {11, 0x0479, L"   Title First Item", L"Ctrl + Alt + T"},
                  {12, 0x0468, L"   Smart Make Object First Item", L"Ctrl + Alt + Numpad *"},
                  {24, 0x0474, L"   Insert date/time - 'yyyymmddHHMMSS'", L""},
                  {25, 0, L"Options", L""},
                  {27, 0x04CA, L"   Reset Clipboard Viewer", L""}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.nRow);
        EXPECT_EQ(vecRows[c.nRow].nMessage, c.nMessage);
        EXPECT_EQ(vecRows[c.nRow].strName, c.pszName);
        EXPECT_EQ(vecRows[c.nRow].strHotkey, c.pszHotkey);
    }
}

TEST(settingsDigitField, StoresOnlyWhatItsDigitsSay) {
    const std::pair<const wchar_t*, uint32_t> aCases[] = {
        {L"200", 200},
        {L"", 0},
        {L"-5", 5},
        {L"abc", 0},
        {L"1a2", 12},
        {L"007", 7},
        {L" 42 ", 42},
        {L"٣", 0},                    // a digit of another script is not a decimal digit here
        {L"99999999999", 0x7FFFFFFF}, // beyond the signed range: the largest
        {L"00000000000000009", 0},    // only the first 15 characters count
    };
    for (const auto& [pszText, nExpected] : aCases) {
        EXPECT_EQ(ParseDigitField(pszText), nExpected) << testing::PrintToString(pszText);
    }
}

class settingsHotkeyBinding : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        m_oCommands.RegisterHotkeys(m_oAccelerator); // the eight defaults
    }
    CCommandTable m_oCommands;
    CKeyboardAccelerator m_oAccelerator;
};

TEST_F(settingsHotkeyBinding, AConflictIsAnotherCommandsLiveCombination) {
    const struct {
        uint32_t nMessage, nConfiguration, nHolder;
    } aCases[] = {{0x0479, 0x00030041, 0x0401}, // Ctrl+Alt+A belongs to Show Main Window
                  {0x0401, 0x00030041, 0},      // its own binding again
                  {0x0479, 0x0003005A, 0},      // Ctrl+Alt+Z is free
                  {0x0479, 0, 0}};              // "(None)"
    for (const auto& c : aCases) {
        EXPECT_EQ(FindHotkeyConflict(m_oAccelerator, c.nMessage, c.nConfiguration), c.nHolder)
            << std::hex << c.nMessage << " " << c.nConfiguration;
    }
    // The live table decides, not the settings: a stored binding not yet registered is free.
    CApplicationRegistry().SetHotkey(0x0466, 0x00030055);
    EXPECT_EQ(FindHotkeyConflict(m_oAccelerator, 0x0479, 0x00030055), 0u);
}

TEST_F(settingsHotkeyBinding, ApplyingMovesTheBindingLiveAndStored) {
    CApplicationRegistry oSettings;
    // Title First Item takes Ctrl+Alt+A from Show Main Window.
    ApplyHotkeyBinding(m_oAccelerator, oSettings, 0x0479, 0x00030041, 0x0401);
    EXPECT_EQ(m_oAccelerator.GetMessageID(0x00030041), 0x0479u);
    EXPECT_EQ(oSettings.GetHotkey(0x0401), 0u);
    EXPECT_EQ(oSettings.GetHotkey(0x0479), 0x00030041u);

    // Revert First Items moves from Ctrl+Alt+9 to Ctrl+Alt+Z; then "(None)" unbinds it.
    ApplyHotkeyBinding(m_oAccelerator, oSettings, 0x0465, 0x0003005A, 0);
    EXPECT_FALSE(m_oAccelerator.ContainsMessageID(0x00030039));
    EXPECT_EQ(m_oAccelerator.GetMessageID(0x0003005A), 0x0465u);
    ApplyHotkeyBinding(m_oAccelerator, oSettings, 0x0465, 0, 0);
    EXPECT_FALSE(m_oAccelerator.ContainsMessageID(0x0003005A));
    EXPECT_EQ(ReadRegistryDWord(HKEY_CURRENT_USER, kProgramKey + L"\\Hotkeys", L"1125"), 0u);

    // A stored previous binding that the live table gives to another command (a hand edit of
    // the registry) stays with that command.
    oSettings.SetHotkey(0x0466, 0x00030030); // Uppercase "on" Show Clip Window's Ctrl+Alt+0
    ApplyHotkeyBinding(m_oAccelerator, oSettings, 0x0466, 0x00030055, 0);
    EXPECT_EQ(m_oAccelerator.GetMessageID(0x00030030), 0x0402u);
    EXPECT_EQ(m_oAccelerator.GetMessageID(0x00030055), 0x0466u);
    EXPECT_TRUE(Reported().empty());
}

} // namespace
