// What the options dialog and the hotkey editor decide apart from their windows: the rows of the
// hotkey list, the number a digit field stores, and the taking of a combination from another
// command, on a clean registry.

#include "RegistryFixture.h"

#include "app/HotkeyCommands.h"
#include "hotkeys/KeyboardAccelerator.h"
#include "settings/CommandTable.h"
#include "settings/HotkeyBinding.h"
#include "settings/KorvexSettings.h"
#include "settings/OptionsRows.h"

namespace {

class settingsOptions : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        m_oCommands.RegisterHotkeys(m_oAccelerator, m_oSettings); // the eight defaults
    }
    CKorvexSettings m_oSettings{GetHotkeyDescriptions()};
    CCommandTable m_oCommands{GetHotkeyDescriptions()};
    CKeyboardAccelerator m_oAccelerator;
};

TEST_F(settingsOptions, RowsListEachGroupByIndexWithTheStoredBindings) {
    m_oSettings.SetHotkey(0x0401, 0);          // Show Main Window unbound
    m_oSettings.SetHotkey(0x0479, 0x00030054); // Title First Item on Ctrl+Alt+T
    const std::vector<OPTIONS_ROW> vecRows = BuildOptionsRows(m_oCommands, m_oSettings);
    ASSERT_EQ(vecRows.size(), 29u);
    const struct {
        size_t nRow;
        uint32_t nMessage;
        const wchar_t *pszName, *pszHotkey;
    } aCases[] = {{1, 0x0401, L"   Show Main Window", L""},
                  {3, 0, L"Edit", L""},
                  {4, 0x0475, L"   Preview First Item", L""},
                  {8, 0x0465, L"   Revert First Items", L"Ctrl + Alt + 9"},
                  {11, 0x0479, L"   Title First Item", L"Ctrl + Alt + T"},
                  {25, 0, L"Options", L""},
                  {27, 0x04CA, L"   Reset Clipboard Viewer", L""},
                  {28, 0x04CB, L"   Pause Recording", L""}};
    for (const auto& c : aCases) {
        const OPTIONS_ROW& oRow = vecRows[c.nRow];
        EXPECT_EQ(std::tie(oRow.nMessage, oRow.strName, oRow.strHotkey),
                  std::make_tuple(c.nMessage, std::wstring(c.pszName), std::wstring(c.pszHotkey)))
            << c.nRow;
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
        {L"\u0663", 0}, // not a decimal digit here
        {L"99999999999", 0x7FFFFFFF},
        {L"00000000000000009", 0}}; // only 15 characters count
    for (const auto& [pszText, nExpected] : aCases) {
        EXPECT_EQ(ParseDigitField(pszText), nExpected) << testing::PrintToString(pszText);
    }
}

TEST_F(settingsOptions, AConflictIsAnotherCommandsLiveCombinationAndTakingItMovesIt) {
    CKorvexSettings& oSettings = m_oSettings;
    const struct {
        uint32_t nMessage, nConfiguration, nHolder;
    } aCases[] = {{0x0479, 0x00030041, 0x0401}, // Ctrl+Alt+A belongs to Show Main Window
                  {0x0401, 0x00030041, 0},      // its own binding again
                  {0x0479, 0x0003005A, 0},      // free
                  {0x0479, 0, 0}};              // "(None)"
    for (const auto& c : aCases) {
        EXPECT_EQ(FindHotkeyConflict(m_oAccelerator, c.nMessage, c.nConfiguration), c.nHolder)
            << std::hex << c.nMessage << " " << c.nConfiguration;
    }

    ApplyHotkeyBinding(m_oCommands, m_oAccelerator, oSettings, 0x0479, 0x00030041, 0x0401);
    EXPECT_EQ(m_oAccelerator.GetMessageID(0x00030041), 0x0479u);
    EXPECT_EQ(m_oCommands.GetHotkey(oSettings, 0x0401), 0u);
    EXPECT_EQ(m_oCommands.GetHotkey(oSettings, 0x0479), 0x00030041u);
    // "(None)" takes the previous binding out of the live table and stores 0.
    ApplyHotkeyBinding(m_oCommands, m_oAccelerator, oSettings, 0x0465, 0, 0);
    EXPECT_FALSE(m_oAccelerator.ContainsMessageID(0x00030039));
    EXPECT_EQ(ReadRegistryDWord(HKEY_CURRENT_USER, kProgramKey + L"\\Hotkeys", L"1125"), 0u);
    // A stored previous binding that the live table gives to another command (after a hand
    // edit of the registry) stays with that command.
    oSettings.SetHotkey(0x0466, 0x00030030); // Show Clip Window's Ctrl+Alt+0
    ApplyHotkeyBinding(m_oCommands, m_oAccelerator, oSettings, 0x0466, 0x00030055, 0);
    EXPECT_EQ(m_oAccelerator.GetMessageID(0x00030030), 0x0402u);
    EXPECT_TRUE(Reported().empty());
}

} // namespace
