// What the user keeps out of the history: copies made while recording is paused (from the tray
// menu or a hotkey), copies of the programs listed in "Never record copies from", and entries
// older than "Forget unbookmarked entries after" allows.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Tray.h"
#include "tests/support/win/Keyboard.h"

#include <cstring>

namespace e2e {
namespace {

using e2eRecordingControl = KorvexScenario;

HWND OpenOptions(const CKorvexProcess& oKorvex) {
    PostMessageW(oKorvex.MainWindow(), WM_COMMAND, kCmdFileOptions, 0);
    return WaitForDialog(oKorvex.ProcessId(), kOptionsTitle);
}

// Sets a field's text as a paste would, then presses OK (Enter in the field that the mnemonic
// goes to).
::testing::AssertionResult SetFieldAndOk(HWND hOptions, int nId, WORD nMnemonic,
                                         const wchar_t* pszText, const wchar_t* pszShown) {
    SendMessageW(GetDlgItem(hOptions, nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText));
    if (!PumpUntil([&] { return ControlText(hOptions, nId) == pszShown; })) {
        return ::testing::AssertionFailure()
               << "the field shows " << ToUtf8(ControlText(hOptions, nId));
    }
    if (::testing::AssertionResult oTyped = TypeInto(hOptions, {{VK_MENU, nMnemonic}, {VK_RETURN}});
        !oTyped) {
        return oTyped;
    }
    return PumpUntil([&] { return !IsWindow(hOptions); })
               ? ::testing::AssertionSuccess()
               : ::testing::AssertionFailure() << "the options stayed open";
}

TEST_F(e2eRecordingControl, PausedFromTheTrayMenuOrAHotkeyNothingCopiedMeanwhileIsRecorded) {
    ASSERT_TRUE(WriteSetting(L"Hotkeys", L"1227", 0x00030050)); // Pause Recording: Ctrl+Alt+P
    ASSERT_TRUE(StartKorvex());
    ASSERT_TRUE(CopyEach({L"before"}));
    std::optional<RECT> optIcon;
    ASSERT_TRUE(PumpUntil([&] { return (optIcon = FindTrayIcon()).has_value(); }));
    const std::vector<uint32_t> vecRecordingIcon = CaptureScreen(*optIcon);
    ASSERT_FALSE(vecRecordingIcon.empty());
    // The tray menu's check marks as it opens; with bChoose, "Pause &Recording" is chosen.
    bool bPaused = false;
    const auto fnTrayMenu = [&](bool bChoose) {
        const HWND hMenu =
            OpenTrayMenu(m_korvex.ProcessId(), bPaused ? kPausedTooltip : kMainWindowTitle);
        EXPECT_NE(hMenu, nullptr) << "no tray menu";
        std::vector<uint32_t> vecStrip = hMenu ? CheckMarkStrip(hMenu) : std::vector<uint32_t>{};
        EXPECT_FALSE(vecStrip.empty()) << "the menu was not drawn";
        EXPECT_TRUE(bChoose ? wintest::InjectKeys(wintest::Chord({'R'})) == 2 &&
                                  PumpUntil([&] { return !IsWindowVisible(hMenu); })
                            : CloseTrayMenu(hMenu));
        SetCursorPos(500, 300); // no tooltip over the icon
        return vecStrip;
    };
    // The icon, its tooltip and its pixels, once it shows the state.
    const auto fnShows = [&](bool bNowPaused) {
        bPaused = bNowPaused;
        return PumpUntil([&] {
            optIcon = FindTrayIcon(bPaused ? kPausedTooltip : kMainWindowTitle);
            return optIcon && (CaptureScreen(*optIcon) == vecRecordingIcon) != bPaused;
        });
    };

    // Paused from the menu, resumed by the hotkey; then paused by the hotkey, resumed from the
    // menu. Each copy of a pause has come to Korvex before the resume.
    const std::vector<uint32_t> vecUnchecked = fnTrayMenu(true);
    EXPECT_TRUE(fnShows(true));
    ASSERT_TRUE(Copy(L"secret 1"));
    ASSERT_TRUE(m_korvex.Responds());
    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'P'}));
    EXPECT_TRUE(fnShows(false));
    ASSERT_TRUE(Copy(L"after"));
    EXPECT_TRUE(WaitForRows({L"after", L"before"}));

    ASSERT_TRUE(PressHotkey({VK_CONTROL, VK_MENU, 'P'}));
    EXPECT_TRUE(fnShows(true));
    ASSERT_TRUE(Copy(L"secret 2"));
    ASSERT_TRUE(m_korvex.Responds());
    EXPECT_NE(fnTrayMenu(true), vecUnchecked) << "no check mark while paused";
    EXPECT_TRUE(fnShows(false));
    ASSERT_TRUE(Copy(L"last"));
    EXPECT_TRUE(WaitForRows({L"last", L"after", L"before"}));
}

TEST_F(e2eRecordingControl, CopiesOfAListedProgramAreNotRecordedThoseOfAnotherProgramAre) {
    ASSERT_TRUE(StartKorvex());
    const wchar_t* pszList = L"KeePass.exe;  CLIPTOOL.EXE ";
    ASSERT_TRUE(SetFieldAndOk(OpenOptions(m_korvex), kIdNeverRecordFrom, 'N', pszList, pszList));
    const auto optStored = wintest::ReadRegistryValue(
        HKEY_CURRENT_USER, kSettingsKey + std::wstring(L"\\Options"), L"NeverRecordFrom");
    ASSERT_TRUE(optStored.has_value());
    EXPECT_EQ(optStored->nType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(optStored->vecData.size(), (wcslen(pszList) + 1) * sizeof(wchar_t));

    // cliptool keeps the clipboard's owner window while Korvex looks at the change.
    wintest::CChildProcess& oTool = StartHelper(L"cliptool.exe", L"write-stay 20000 secret");
    ASSERT_TRUE(oTool.WaitForOutput("copied", 15000));
    ASSERT_TRUE(m_korvex.Responds());
    // This test program copies, its own window the owner until the row shows.
    const wintest::CHandlerWindow oOwner([](UINT, WPARAM, LPARAM) { return std::nullopt; });
    ASSERT_TRUE(PumpUntil([&] { return OpenClipboard(oOwner.Handle()) != FALSE; }));
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, sizeof(L"public"));
    std::memcpy(GlobalLock(hBlock), L"public", sizeof(L"public"));
    GlobalUnlock(hBlock);
    EXPECT_TRUE(EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, hBlock) != nullptr);
    CloseClipboard();
    EXPECT_TRUE(WaitForRows({L"public"}));

    const HWND hOptions = OpenOptions(m_korvex);
    EXPECT_EQ(ControlText(hOptions, kIdNeverRecordFrom), pszList);
    ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
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
    // Non-digits go as in the other number fields.
    ASSERT_TRUE(SetFieldAndOk(OpenOptions(m_korvex), kIdForgetAfter, 'F', L"a1 min", L"1"));
    EXPECT_EQ(Setting(L"Options", L"ForgetAfterMinutes"), 1u);
    EXPECT_TRUE(WaitForRows({L"bookmarked"}, 10000));
}

} // namespace
} // namespace e2e
