// The table of the program's hotkey commands and their registration in an accelerator table, on
// a clean registry.

#include "RegistryFixture.h"

#include "app/HotkeyCommands.h"
#include "hotkeys/KeyboardAccelerator.h"
#include "settings/CommandTable.h"
#include "settings/KeyNameTable.h"
#include "settings/KorvexSettings.h"

#include <map>

namespace {

TEST(settingsCommandTable, TwentySixCommandsNumberedWithinTheirGroups) {
    CCommandTable oTable(GetHotkeyDescriptions());
    oTable.BuildCommandTable();
    oTable.BuildCommandTable(); // building again adds nothing
    ASSERT_EQ(oTable.GetCommands().size(), 26u);
    MESSAGE_DESCRIPTION oCommand;
    ASSERT_TRUE(oTable.Lookup(0x0465, oCommand));
    EXPECT_EQ(oCommand.nGroup, 1u);
    EXPECT_EQ(oCommand.nIndex, 4u);
    EXPECT_STREQ(oCommand.szName, L"Revert First Items");
    MESSAGE_DESCRIPTION oMissing(9, 9, 9, L"kept");
    EXPECT_FALSE(oTable.Lookup(0x07EB, oMissing));
    EXPECT_STREQ(oMissing.szName, L"kept");
    // A name is cut to 127 units and always terminated.
    const std::wstring strLong(200, L'n');
    EXPECT_EQ(MESSAGE_DESCRIPTION(1, 2, 3, strLong.c_str()).szName, strLong.substr(0, 127));
}

class settingsCommandRegistration : public RegistryTest {
protected:
    // Every binding the accelerator holds among the keys a user can choose, with any modifiers.
    static std::map<uint32_t, uint32_t> Registered() {
        CKeyboardAccelerator oAccelerator;
        CKorvexSettings oSettings(GetHotkeyDescriptions());
        oSettings.Load();
        CCommandTable(GetHotkeyDescriptions()).RegisterHotkeys(oAccelerator, oSettings);
        std::map<uint32_t, uint32_t> mapBound;
        CKeyNameTable oKeyNames;
        oKeyNames.Build();
        for (uint16_t nKey : oKeyNames.GetKeyCodes()) {
            for (uint32_t nModifiers = 0; nModifiers < 8; ++nModifiers) {
                const uint32_t nConfiguration = nKey | nModifiers << 16;
                if (oAccelerator.ContainsMessageID(nConfiguration)) {
                    mapBound[nConfiguration] = oAccelerator.GetMessageID(nConfiguration);
                }
            }
        }
        return mapBound;
    }
};

TEST_F(settingsCommandRegistration, FirstRunRegistersExactlyTheEightDefaults) {
    const std::map<uint32_t, uint32_t> mapExpected = {
        {0x00030041, 0x0401}, {0x00030030, 0x0402}, {0x00030033, 0x0477}, {0x00030036, 0x0478},
        {0x00030039, 0x0465}, {0x0003006A, 0x0468}, {0x0003006B, 0x046A}, {0x0003006D, 0x0469}};
    EXPECT_EQ(Registered(), mapExpected);
    EXPECT_TRUE(Reported().empty());
}

} // namespace
