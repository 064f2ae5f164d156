// Global hotkeys pressed while another program has the focus, and the paste option that a
// hotkey message and the tray menu switch.

#include "ClipboardReader.h"
#include "InputInjector.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "Registry.h"
#include "RemoteListView.h"
#include "TrayMenu.h"
#include "Wait.h"

namespace e2e {
namespace {

using e2eHotkeys = KorvexScenario;

constexpr WORD kVkAlt = VK_MENU;

TEST_F(e2eHotkeys, CtrlAltAShowsAndHidesTheMainWindowWithinASecond) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_FALSE(m_korvex.IsMainWindowVisible());
    for (bool bShown : {true, false, true}) {
        SCOPED_TRACE(bShown ? "show" : "hide");
        ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, 'A'}));
        ASSERT_TRUE(WaitForVisibleAfterHotkey(bShown, 1000));
        if (bShown) {
            EXPECT_TRUE(
                WaitUntil([&] { return GetForegroundWindow() == m_korvex.MainWindow(); }, 2000));
        }
    }
}

TEST_F(e2eHotkeys, FirstItemHotkeysSwapConvertAndBookmark) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"myVariableName", L"second"}));

    // Ctrl+Alt+9: the first two entries trade places; the new head goes to the clipboard
    // without coming back as a row of its own.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, '9'}));
    EXPECT_TRUE(WaitForRows({L"myVariableName", L"second"}));
    EXPECT_TRUE(WaitUntil([] { return ReadClipboardText() == L"myVariableName"; }, 3000));

    // Ctrl+Alt+keypad minus: the head as an identifier becomes the new head.
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, VK_SUBTRACT}));
    EXPECT_TRUE(WaitForRows({L"MY_VARIABLE_NAME", L"myVariableName", L"second"}));

    // Ctrl+Alt+3: the head row shows the bookmark image in its "No" cell; again, it goes.
    CRemoteListView list(m_korvex.ListWindow());
    const int nPlain = list.Image(1, kColumnNo);
    ASSERT_GE(nPlain, 0);
    ASSERT_EQ(nPlain, list.Image(0, kColumnNo));
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, '3'}));
    int nMarked = nPlain;
    EXPECT_TRUE(WaitUntil([&] { return (nMarked = list.Image(0, kColumnNo)) != nPlain; }, 3000))
        << "the head row's image did not change";
    EXPECT_GE(nMarked, 0);
    EXPECT_EQ(nPlain, list.Image(1, kColumnNo)) << "only the head row is bookmarked";
    ASSERT_TRUE(PressHotkey({VK_CONTROL, kVkAlt, '3'}));
    EXPECT_TRUE(WaitUntil([&] { return list.Image(0, kColumnNo) == nPlain; }, 3000));

    // None of this made a row of its own.
    ASSERT_TRUE(Copy(L"mark"));
    EXPECT_TRUE(WaitForRows({L"mark", L"MY_VARIABLE_NAME", L"myVariableName", L"second"}));
}

TEST_F(e2eHotkeys, PasteOptionSwitchesByHotkeyMessageAndByTrayMenu) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_FALSE(ReadSetting(L"Options", L"DoPaste").has_value());

    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0));
    EXPECT_TRUE(WaitUntil([] { return ReadSetting(L"Options", L"DoPaste") == 1u; }, 3000));
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgPasteActivatedItem, 0, 0));
    EXPECT_TRUE(WaitUntil([] { return ReadSetting(L"Options", L"DoPaste") == 0u; }, 3000));

    // The tray menu: its check mark follows the setting, and its item switches it.
    DWORD nProcess = 0;
    GetWindowThreadProcessId(m_korvex.MainWindow(), &nProcess);
    CTrayMenu menu(nProcess);
    ASSERT_TRUE(menu.Open()) << "the right click did not open the tray menu";
    const std::vector<uint32_t> vecUnchecked = menu.CheckMarkStrip();
    ASSERT_FALSE(vecUnchecked.empty());
    ASSERT_TRUE(menu.Choose('P')) << "the tray menu did not take the key P";
    EXPECT_TRUE(WaitUntil([] { return ReadSetting(L"Options", L"DoPaste") == 1u; }, 3000));

    ASSERT_TRUE(menu.Open());
    const std::vector<uint32_t> vecChecked = menu.CheckMarkStrip();
    EXPECT_FALSE(vecChecked.empty());
    EXPECT_NE(vecUnchecked, vecChecked) << "no check mark appeared";
    ASSERT_TRUE(menu.Choose('P'));
    EXPECT_TRUE(WaitUntil([] { return ReadSetting(L"Options", L"DoPaste") == 0u; }, 3000));

    ASSERT_TRUE(menu.Open());
    EXPECT_EQ(vecUnchecked, menu.CheckMarkStrip()) << "the check mark stayed";
    ASSERT_TRUE(menu.Close());
    EXPECT_EQ(std::optional<DWORD>(0), ReadSetting(L"Options", L"DoPaste"));
    EXPECT_TRUE(m_korvex.Responds());
}

} // namespace
} // namespace e2e
