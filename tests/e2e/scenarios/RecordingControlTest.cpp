// What the user keeps out of the history: copies made while recording is paused (from the tray
// menu or a hotkey), copies of the programs listed in "Never record copies from", and entries
// older than "Forget unbookmarked entries after" allows.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Tray.h"
#include "tests/support/win/Keyboard.h"

namespace e2e {
namespace {

using e2eRecordingControl = KorvexScenario;

TEST_F(e2eRecordingControl, PausedFromTheTrayMenuOrAHotkeyNothingCopiedMeanwhileIsRecorded) {
    ASSERT_TRUE(WriteSetting(L"Hotkeys", L"1227", 0x00030050)); // Pause Recording: Ctrl+Alt+P
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"before"}));
    std::optional<RECT> optIcon;
    ASSERT_TRUE(PumpUntil([&] { return (optIcon = FindTrayIcon()).has_value(); }));
    const std::vector<uint32_t> vecRecordingIcon = CaptureScreen(*optIcon);
    bool bPaused = false;
    // Chooses "Pause &Recording" in the tray menu: the check marks it showed.
    const auto fnChooseInMenu = [&] {
        const HWND hMenu = OpenTrayMenu(m_korvex.ProcessId(), bPaused ? kPausedTooltip : L"Korvex");
        const std::vector<uint32_t> vecStrip =
            hMenu ? CheckMarkStrip(hMenu) : std::vector<uint32_t>{};
        EXPECT_FALSE(vecStrip.empty()) << "no tray menu";
        EXPECT_EQ(wintest::InjectKeys(wintest::Chord({'R'})), 2u);
        SetCursorPos(500, 300); // no tooltip over the icon
        return vecStrip;
    };
    // Both the tooltip and the icon's pixels show the state.
    const auto fnShows = [&](bool bNowPaused) {
        bPaused = bNowPaused;
        return PumpUntil([&] {
            optIcon = FindTrayIcon(bPaused ? kPausedTooltip : L"Korvex");
            return optIcon && (CaptureScreen(*optIcon) == vecRecordingIcon) != bPaused;
        });
    };
    // Paused from the menu and resumed by the hotkey, then the other way round; each copy of a
    // pause has reached Korvex before the resume.
    const std::vector<uint32_t> vecUnchecked = fnChooseInMenu();
    for (const bool bByHotkey : {true, false}) {
        EXPECT_TRUE(fnShows(true));
        ASSERT_TRUE(Copy(bByHotkey ? L"secret 1" : L"secret 2"));
        ASSERT_TRUE(m_korvex.Responds());
        if (bByHotkey) {
            ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'P'}));
        } else {
            EXPECT_NE(fnChooseInMenu(), vecUnchecked) << "no check mark while paused";
        }
        EXPECT_TRUE(fnShows(false));
        if (bByHotkey) {
            ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'P'}));
        }
    }
    ASSERT_TRUE(Copy(L"after"));
    EXPECT_TRUE(WaitForRows({L"after", L"before"}));
}

TEST_F(e2eRecordingControl, CopiesOfAListedProgramAreNotRecordedThoseOfAnotherProgramAre) {
    const wchar_t* pszList = L"Vault.exe;  CLIPTOOL.EXE ";
    ASSERT_TRUE(wintest::WriteRegistryValue(
        HKEY_CURRENT_USER, kSettingsKey + std::wstring(L"\\Options"), L"NeverRecordFrom", REG_SZ,
        pszList, static_cast<DWORD>((wcslen(pszList) + 1) * 2)));
    ASSERT_TRUE(StartKorvex());
    // cliptool keeps the clipboard's owner window while Korvex looks at the change.
    ASSERT_TRUE(
        StartHelper(L"cliptool.exe", L"write-stay 20000 secret").WaitForOutput("copied", 15000));
    ASSERT_TRUE(m_korvex.Responds());
    // An X11 program's copy comes from Wine's clipboard manager.
    ASSERT_TRUE(CopyWithXclip(L"public"));
    EXPECT_TRUE(WaitForRows({L"public"}));
}

TEST_F(e2eRecordingControl, AfterAMinuteUnbookmarkedEntriesAreForgottenBookmarkedOnesKept) {
    // A minute of one second for this Korvex; the setting stays in minutes.
    ASSERT_TRUE(SetEnvironmentVariableW(kSecondsPerMinuteVariable, L"1"));
    const std::unique_ptr<const wchar_t, void (*)(const wchar_t*)> oRestore(
        kSecondsPerMinuteVariable,
        [](const wchar_t* psz) { SetEnvironmentVariableW(psz, nullptr); });
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"bookmarked"}));
    ASSERT_TRUE(PostMessageW(m_korvex.MainWindow(), kMsgBookmarkFirstItem, 0, 0));
    ASSERT_TRUE(Copy(L"forgotten"));
    ASSERT_TRUE(WaitForRows({L"forgotten", L"bookmarked"}));
    PostMessageW(m_korvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
    const HWND hOptions = WaitForDialog(m_korvex.ProcessId(), kOptionsTitle);
    ASSERT_TRUE(TypeInto(hOptions, {{VK_MENU, 'F'}, {'1'}, {VK_RETURN}}));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hOptions); }));
    EXPECT_EQ(Setting(L"Options", L"ForgetAfterMinutes"), 1u);
    EXPECT_TRUE(WaitForRows({L"bookmarked"}, 10000));
}

} // namespace
} // namespace e2e
