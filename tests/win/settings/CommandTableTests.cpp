// The table of hotkey commands and their registration in an accelerator table, on a clean
// registry.

#include "RegistryFixture.h"

#include "hotkeys/KeyboardAccelerator.h"
#include "settings/ApplicationRegistry.h"
#include "settings/CommandTable.h"

#include <map>
#include <set>

namespace {

class settingsCommandRegistration : public RegistryFixture {};

TEST(settingsCommandTable, TwentyFiveCommandsInThreeGroups) {
    CCommandTable oTable;
    EXPECT_TRUE(oTable.GetCommands().empty());
    oTable.BuildCommandTable();
    oTable.BuildCommandTable(); // building again overwrites, adds nothing
    ASSERT_EQ(oTable.GetCommands().size(), 25u);

    std::map<uint32_t, std::set<uint32_t>> mapIndexes;
    for (const auto& [nMessage, oCommand] : oTable.GetCommands()) {
        EXPECT_EQ(oCommand.nMessage, nMessage);
        EXPECT_GT(nMessage, 0x0400u);
        EXPECT_LT(nMessage, 0x07E9u);
        EXPECT_NE(oCommand.szName[0], L'\0');
        mapIndexes[oCommand.nGroup].insert(oCommand.nIndex);
    }
    // Every group numbers its commands 0, 1, 2, ... without gaps or repeats.
    ASSERT_EQ(mapIndexes.size(), 3u);
    const size_t aSizes[] = {2, 21, 2};
    for (uint32_t nGroup = 0; nGroup < 3; ++nGroup) {
        const auto& setIndexes = mapIndexes[nGroup];
        EXPECT_EQ(setIndexes.size(), aSizes[nGroup]);
        EXPECT_EQ(*setIndexes.rbegin(), aSizes[nGroup] - 1);
    }
}

TEST(settingsCommandTable, LookupCopiesTheRecordOrFindsNothing) {
    CCommandTable oTable;
    oTable.BuildCommandTable();
    MESSAGE_DESCRIPTION oCommand;
    ASSERT_TRUE(oTable.Lookup(0x0401, oCommand));
    EXPECT_EQ(oCommand.nGroup, 0u);
    EXPECT_EQ(oCommand.nIndex, 0u);
    EXPECT_STREQ(oCommand.szName, L"Show Main Window");

    ASSERT_TRUE(oTable.Lookup(0x0465, oCommand));
    EXPECT_EQ(oCommand.nGroup, 1u);
    EXPECT_EQ(oCommand.nIndex, 4u);
    EXPECT_STREQ(oCommand.szName, L"Revert First Items");

    ASSERT_TRUE(oTable.Lookup(0x046F, oCommand));
    EXPECT_STREQ(oCommand.szName, L"Insert date/time - 'yyyy-mm-dd_HH-MM-SS'");

    ASSERT_TRUE(oTable.Lookup(0x04CA, oCommand));
    EXPECT_EQ(oCommand.nGroup, 2u);
    EXPECT_EQ(oCommand.nIndex, 1u);
    EXPECT_STREQ(oCommand.szName, L"Reset Clipboard Viewer");

    for (uint32_t nMessage : {0x07EBu, 0x0400u, 0x0403u, 0u}) {
        MESSAGE_DESCRIPTION oMissing(9, 9, 9, L"kept");
        EXPECT_FALSE(oTable.Lookup(nMessage, oMissing)) << nMessage;
        EXPECT_STREQ(oMissing.szName, L"kept");
    }
}

// Every binding the accelerator holds among the keys a user can choose, with any modifiers.
std::map<uint32_t, uint32_t> BoundConfigurations(const CKeyboardAccelerator& oAccelerator) {
    std::map<uint32_t, uint32_t> mapBound;
    CApplicationRegistry oSettings;
    for (uint16_t nKey : oSettings.GetKeyCodes()) {
        for (uint32_t nModifiers = 0; nModifiers < 8; ++nModifiers) {
            const uint32_t nConfiguration = nKey | (nModifiers << 16);
            if (oAccelerator.ContainsMessageID(nConfiguration)) {
                mapBound[nConfiguration] = oAccelerator.GetMessageID(nConfiguration);
            }
        }
    }
    return mapBound;
}

TEST_F(settingsCommandRegistration, FirstRunRegistersExactlyTheEightDefaults) {
    CKeyboardAccelerator oAccelerator;
    CCommandTable oTable;
    oTable.RegisterHotkeys(oAccelerator);
    EXPECT_EQ(oTable.GetCommands().size(), 25u);

    const std::map<uint32_t, uint32_t> mapExpected = {
        {0x00030041, 0x0401}, {0x00030030, 0x0402}, {0x00030033, 0x0477}, {0x00030036, 0x0478},
        {0x00030039, 0x0465}, {0x0003006A, 0x0468}, {0x0003006B, 0x046A}, {0x0003006D, 0x0469}};
    EXPECT_EQ(BoundConfigurations(oAccelerator), mapExpected);
    EXPECT_EQ(oAccelerator.ContainsMessageID(0), 0);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsCommandRegistration, StoredBindingsWinOverTheDefaults) {
    {
        CApplicationRegistry oSettings;
        oSettings.SetHotkey(0x0401, 0);          // Show Main Window unbound
        oSettings.SetHotkey(0x0479, 0x00050054); // Title First Item on Ctrl+Shift+T
    }
    CKeyboardAccelerator oAccelerator;
    CCommandTable oTable;
    oTable.RegisterHotkeys(oAccelerator);

    EXPECT_EQ(oAccelerator.ContainsMessageID(0x00030041), 0);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00050054), 0x0479u);
    EXPECT_EQ(oAccelerator.GetMessageID(0x00030030), 0x0402u);
    EXPECT_EQ(BoundConfigurations(oAccelerator).size(), 8u);
}

} // namespace
