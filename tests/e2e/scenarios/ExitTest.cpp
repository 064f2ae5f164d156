// Ending Korvex: only the two Exit commands end it, and they save the window's placement and
// the docking flag; closing, minimising and Esc only hide the window.

#include "InputInjector.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "NotificationArea.h"
#include "Registry.h"
#include "Wait.h"

namespace e2e {
namespace {

using e2eExit = KorvexScenario;

struct Placement {
    std::optional<DWORD> left, top, width, height, docking;
    bool operator==(const Placement&) const = default;
};

Placement SavedPlacement() {
    return {ReadSetting(L"MainWindow", L"Left"), ReadSetting(L"MainWindow", L"Top"),
            ReadSetting(L"MainWindow", L"Width"), ReadSetting(L"MainWindow", L"Height"),
            ReadSetting(L"MainWindow", L"DockingEnabled")};
}

std::string Describe(const Placement& p) {
    auto one = [](const std::optional<DWORD>& v) {
        return v ? std::to_string(static_cast<int>(*v)) : std::string("none");
    };
    return "left " + one(p.left) + ", top " + one(p.top) + ", width " + one(p.width) + ", height " +
           one(p.height) + ", docking " + one(p.docking);
}

bool KorvexTrayIconShown() {
    return FindTrayIcon(L"Korvex").has_value();
}

TEST_F(e2eExit, FileMenuExitSavesPlacementAndDockingAndTheNextStartUsesThem) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    const HWND hMain = m_korvex.MainWindow();
    ASSERT_TRUE(SetWindowPos(hMain, nullptr, 120, 90, 420, 480, SWP_NOZORDER | SWP_NOACTIVATE));
    RECT rcWindow{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            return GetWindowRect(hMain, &rcWindow) && rcWindow.left == 120 && rcWindow.top == 90;
        },
        3000));
    ASSERT_TRUE(PostMessageW(hMain, WM_COMMAND, kCmdEnableDocking, 0)); // docking off
    ASSERT_TRUE(WaitUntil(KorvexTrayIconShown, 5000));

    ASSERT_TRUE(m_korvex.ExitWith(kCmdFileExit)) << "Korvex did not end";
    EXPECT_EQ(0u, m_korvex.ExitCode());
    const Placement expected{120, 90, 420, 480, 0};
    EXPECT_EQ(expected, SavedPlacement()) << Describe(SavedPlacement());
    EXPECT_TRUE(WaitUntil([] { return !KorvexTrayIconShown(); }, 3000))
        << "the tray icon stayed after the exit";

    // The next start opens where the last one ended, and keeps docking off.
    m_korvex.Stop();
    ASSERT_TRUE(StartKorvex(L"-n"));
    ASSERT_TRUE(GetWindowRect(m_korvex.MainWindow(), &rcWindow));
    EXPECT_EQ(120, rcWindow.left);
    EXPECT_EQ(90, rcWindow.top);
    EXPECT_EQ(420, rcWindow.right - rcWindow.left);
    EXPECT_EQ(480, rcWindow.bottom - rcWindow.top);
    ASSERT_TRUE(m_korvex.ExitWith(kCmdFileExit));
    EXPECT_EQ(std::optional<DWORD>(0), ReadSetting(L"MainWindow", L"DockingEnabled"));
}

TEST_F(e2eExit, TrayMenuExitEndsAHiddenKorvexAndSavesItsNormalPlacement) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_FALSE(m_korvex.IsMainWindowVisible());
    ASSERT_TRUE(m_korvex.ExitWith(kCmdTrayExit)) << "Korvex did not end";
    EXPECT_EQ(0u, m_korvex.ExitCode());
    const Placement expected{0, 0, 360, 550, 1}; // the defaults, never shown
    EXPECT_EQ(expected, SavedPlacement()) << Describe(SavedPlacement());
}

TEST_F(e2eExit, CloseMinimiseAndEscOnlyHideTheWindow) {
    ASSERT_TRUE(StartKorvex(L"-n"));
    const HWND hMain = m_korvex.MainWindow();
    ASSERT_TRUE(m_korvex.IsMainWindowVisible());

    // The first close after a start with the switch hides the window.
    ASSERT_TRUE(PostMessageW(hMain, WM_CLOSE, 0, 0));
    EXPECT_TRUE(WaitForVisible(false));
    EXPECT_TRUE(m_korvex.Responds());

    ASSERT_TRUE(PostMessageW(hMain, kMsgShowMainWindow, 0, 0));
    ASSERT_TRUE(WaitForVisible(true));
    ASSERT_TRUE(PostMessageW(hMain, WM_SYSCOMMAND, SC_MINIMIZE, 0));
    EXPECT_TRUE(WaitForVisible(false));
    EXPECT_TRUE(m_korvex.Responds());

    // Shown again, it is restored, not minimised.
    ASSERT_TRUE(PostMessageW(hMain, kMsgShowMainWindow, 0, 0));
    ASSERT_TRUE(WaitForVisible(true));
    EXPECT_FALSE(IsIconic(hMain));

    // Esc typed into the main window.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hMain; }, 3000));
    ASSERT_TRUE(PressKey(VK_ESCAPE).bDone);
    EXPECT_TRUE(WaitForVisible(false));

    // Still running, still in the tray, still recording.
    EXPECT_TRUE(m_korvex.IsRunning());
    EXPECT_TRUE(WaitUntil(KorvexTrayIconShown, 3000));
    EXPECT_TRUE(CopyEach({L"still recording"}));
}

} // namespace
} // namespace e2e
