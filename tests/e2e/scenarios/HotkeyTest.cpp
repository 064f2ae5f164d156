// Global hotkeys pressed while another program has the focus, and the paste option that a
// hotkey message switches and the tray menu shows.

#include "KorvexScenario.h"
#include "RemoteListView.h"
#include "Tray.h"

namespace e2e {
namespace {

using e2eHotkeys = KorvexScenario;

// (Ctrl+Alt+A showing and hiding the window within its bound: the chain scenario, with a hung
// viewer at the head; a hotkey that swaps the first two entries: the options scenario.)
TEST_F(e2eHotkeys, HotkeysFromAnotherWindowConvertAndBookmark) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"second", L"myVariableName"}));
    // Ctrl+Alt+keypad minus: the head as an upper-case identifier becomes the new head.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, VK_SUBTRACT}));
    EXPECT_TRUE(WaitForRows({L"MY_VARIABLE_NAME", L"myVariableName", L"second"}));

    // Ctrl+Alt+3: the head row shows the bookmark image in its "No" cell.
    const CRemoteListView oList(m_korvex.ListWindow());
    const int nPlain = oList.Image(0, kColumnNo);
    ASSERT_GE(nPlain, 0);
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, '3'}));
    EXPECT_TRUE(PumpUntil([&] { return oList.Image(0, kColumnNo) != nPlain; }))
        << "the head row's image did not change";
    EXPECT_LE(0, oList.Image(0, kColumnNo));
    EXPECT_EQ(nPlain, oList.Image(1, kColumnNo)) << "only the head row is bookmarked";
    EXPECT_LT(oList.Image(0, kColumnText), 0) << "the mark stands in the \"No\" cell only";
    EXPECT_LT(oList.Image(0, kColumnTime), 0);

    // None of this made a row of its own.
    ASSERT_TRUE(Copy(L"mark"));
    EXPECT_TRUE(WaitForRows({L"mark", L"MY_VARIABLE_NAME", L"myVariableName", L"second"}));
}

TEST_F(e2eHotkeys, PasteOptionSwitchesAndTheTrayMenuCheckMarkFollows) {
    ASSERT_TRUE(StartKorvex());
    // The tray menu before the switch (off), after one (on), after two (off again).
    std::vector<std::vector<uint32_t>> vecStrips;
    for (const std::optional<DWORD> optDoPaste : {std::optional<DWORD>(), {1u}, {0u}}) {
        if (optDoPaste) {
            ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0));
            EXPECT_TRUE(PumpUntil([&] { return Setting(L"Options", L"DoPaste") == optDoPaste; }));
        }
        const HWND hMenu = OpenTrayMenu(m_korvex.ProcessId());
        ASSERT_NE(nullptr, hMenu) << "the right click did not open the tray menu";
        vecStrips.push_back(CheckMarkStrip(hMenu));
        EXPECT_FALSE(vecStrips.back().empty());
        ASSERT_TRUE(CloseTrayMenu(hMenu));
    }
    EXPECT_NE(vecStrips[0], vecStrips[1]) << "no check mark appeared";
    EXPECT_EQ(vecStrips[0], vecStrips[2]) << "the check mark stayed";
}

} // namespace
} // namespace e2e
