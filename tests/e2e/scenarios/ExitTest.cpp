// Ending Korvex: the two Exit commands end it, remove the tray icon and save the window's
// placement and the docking flag, which the end of the Windows session saves too; closing,
// minimising and Esc only hide the window.

#include "KorvexScenario.h"
#include "Tray.h"
#include "tests/support/win/Keyboard.h"

#include <array>

namespace e2e {
namespace {

using e2eExit = KorvexScenario;

TEST_F(e2eExit, FileAndTrayMenuExitSavePlacementAndDockingAndRemoveTheIcon) {
    using Placement = std::array<std::optional<DWORD>, 5>;
    struct CASE {
        UINT nCommand;       // 0: the Windows session ends (Korvex is then ended by the system)
        bool bMoveAndUndock; // else the window stays hidden where it was made
        Placement oSaved;    // left, top, width, height, docking
    };
    for (const CASE& oCase :
         {CASE{kCmdFileExit, true, {120, 90, 420, 480, 0}},
          CASE{kCmdTrayExit, false, {0, 0, 360, 550, 1}}, CASE{0, true, {120, 90, 420, 480, 0}}}) {
        SCOPED_TRACE(oCase.nCommand);
        wintest::DeleteRegistryKey(HKEY_CURRENT_USER, kSettingsKey); // the defaults
        ASSERT_TRUE(StartKorvex(oCase.bMoveAndUndock ? L"-n" : L""));
        const HWND hMain = m_korvex.MainWindow();
        if (oCase.bMoveAndUndock) {
            ASSERT_TRUE(SetWindowPos(hMain, nullptr, 120, 90, 420, 480, SWP_NOZORDER));
            // Sent, so that it is handled before the session's end is (also sent).
            DWORD_PTR nDone = 0;
            ASSERT_TRUE(SendMessageTimeoutW(hMain, WM_COMMAND, kCmdEnableDocking, 0, SMTO_NORMAL,
                                            5000, &nDone)); // off
        }
        ASSERT_TRUE(PumpUntil([] { return FindTrayIcon().has_value(); }));

        if (oCase.nCommand == 0) {
            DWORD_PTR nResult = 0;
            ASSERT_TRUE(
                SendMessageTimeoutW(hMain, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &nResult));
            EXPECT_EQ(TRUE, nResult) << "Korvex must not hold the session up";
            ASSERT_TRUE(
                SendMessageTimeoutW(hMain, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &nResult));
        } else {
            ASSERT_TRUE(m_korvex.ExitWith(oCase.nCommand)) << "Korvex did not end";
            EXPECT_EQ(0u, m_korvex.ExitCode());
        }
        Placement oSaved;
        for (size_t i = 0; i < oSaved.size(); ++i) {
            const wchar_t* apszNames[] = {L"Left", L"Top", L"Width", L"Height", L"DockingEnabled"};
            oSaved[i] = Setting(L"MainWindow", apszNames[i]);
            EXPECT_EQ(oCase.oSaved[i], oSaved[i]) << ToUtf8(apszNames[i]);
        }
        if (oCase.nCommand != 0) {
            EXPECT_TRUE(PumpUntil([] { return !FindTrayIcon(); })) << "the tray icon stayed";
        }
    }
}

TEST_F(e2eExit, CloseMinimiseAndEscOnlyHideTheWindow) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    ASSERT_TRUE(m_korvex.IsVisible()) << "the start switch -n did not show the window";
    const HWND hMain = m_korvex.MainWindow();
    const std::vector<std::function<bool()>> vecHides = {
        [&] { return PostMessageW(hMain, WM_CLOSE, 0, 0) != FALSE; },
        [&] { return PostMessageW(hMain, WM_SYSCOMMAND, SC_MINIMIZE, 0) != FALSE; },
        [&] {
            // Esc typed into the main window.
            return PumpUntil([&] { return GetForegroundWindow() == hMain; }) &&
                   wintest::InjectKeys(wintest::Chord({VK_ESCAPE})) == 2;
        },
    };
    for (size_t i = 0; i < vecHides.size(); ++i) {
        SCOPED_TRACE(i);
        if (i > 0) {
            ASSERT_TRUE(PostMessageW(hMain, kMsgShowMainWindow, 0, 0));
            ASSERT_TRUE(WaitForVisible(true));
            EXPECT_FALSE(IsIconic(hMain)) << "shown again, it is restored";
        }
        ASSERT_TRUE(vecHides[i]());
        EXPECT_TRUE(WaitForVisible(false));
        EXPECT_TRUE(m_korvex.Responds());
    }
    // Still running, still in the tray, still recording.
    EXPECT_TRUE(m_korvex.IsRunning());
    EXPECT_TRUE(FindTrayIcon().has_value());
    EXPECT_TRUE(CopyEach({L"still recording"}));
}

} // namespace
} // namespace e2e
