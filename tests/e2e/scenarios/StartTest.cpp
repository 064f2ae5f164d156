// Starting Korvex: hidden in the notification area, the first-run step, the start switch, and
// a second start that wakes the first.

#include "InputInjector.h"
#include "KorvexContract.h"
#include "KorvexScenario.h"
#include "NotificationArea.h"
#include "Registry.h"
#include "RemoteListView.h"
#include "Wait.h"

namespace e2e {
namespace {

using e2eStart = KorvexScenario;

TEST_F(e2eStart, StartsHiddenWithTrayIconAndDoesItsFirstRunStep) {
    ASSERT_TRUE(StartKorvex());
    const HWND hMain = m_korvex.MainWindow();

    EXPECT_FALSE(IsWindowVisible(hMain));
    wchar_t aTitle[64] = {};
    GetWindowTextW(hMain, aTitle, 64);
    EXPECT_STREQ(L"Korvex", aTitle);
    EXPECT_EQ(nullptr, GetParent(hMain)) << "the main window must be a top-level window";
    EXPECT_EQ(0, GetWindowLongW(hMain, GWL_STYLE) & WS_MAXIMIZEBOX) << "it cannot be maximised";
    const HWND hMarker = FindWindowExW(hMain, nullptr, nullptr, kMarkerTitle);
    ASSERT_NE(nullptr, hMarker);
    EXPECT_FALSE(IsWindowVisible(hMarker));

    // The list: four columns, no rows (nothing of the clipboard at start is recorded).
    CRemoteListView list(m_korvex.ListWindow());
    ASSERT_TRUE(list.IsValid());
    EXPECT_EQ(L"", list.Header(0));
    EXPECT_EQ(L"No", list.Header(kColumnNo));
    EXPECT_EQ(L"Text", list.Header(kColumnText));
    EXPECT_EQ(L"Created Time", list.Header(kColumnTime));
    EXPECT_EQ(0, list.RowCount());

    // First run: done once, and Korvex now starts with the user's log-on.
    EXPECT_EQ(std::optional<DWORD>(0), ReadSetting(L"", L"FirstRun"));
    EXPECT_EQ(std::optional<std::wstring>(L"\"" + m_korvex.ExecutablePath() + L"\""),
              ReadRunValue());

    // The icon is in the notification area with the tooltip "Korvex"; a left click on it shows
    // and activates the main window, the next one hides it.
    std::optional<TrayIconView> icon;
    ASSERT_TRUE(WaitUntil([&] { return (icon = FindTrayIcon(L"Korvex")).has_value(); }, 5000))
        << "no icon with the tooltip \"Korvex\" in the notification area";
    ASSERT_TRUE(ClickTrayIcon(*icon).bDone);
    ASSERT_TRUE(WaitForVisible(true));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hMain; }, 3000));
    ASSERT_TRUE(ClickTrayIcon(*icon).bDone);
    EXPECT_TRUE(WaitForVisible(false));
}

TEST_F(e2eStart, SwitchNAfterHyphenOrSlashShowsTheWindowOtherArgumentsDoNot) {
    struct Case {
        const wchar_t* pszArguments;
        bool bShown;
    };
    for (const Case& c : {Case{L"-n", true}, Case{L"/n", true}, Case{L"/N", false},
                          Case{L"n some-file.txt", false}}) {
        SCOPED_TRACE(ToUtf8(c.pszArguments));
        ASSERT_TRUE(StartKorvex(c.pszArguments));
        EXPECT_EQ(c.bShown, m_korvex.IsMainWindowVisible());
        EXPECT_EQ(0, CRemoteListView(m_korvex.ListWindow()).RowCount());
        ASSERT_TRUE(m_korvex.ExitWith(kCmdFileExit)) << "Korvex did not end";
        m_korvex.Stop();
    }
}

TEST_F(e2eStart, SecondStartTogglesTheRunningWindowAndEndsAtOnce) {
    ASSERT_TRUE(StartKorvex());
    ASSERT_FALSE(m_korvex.IsMainWindowVisible());

    EXPECT_EQ(0u, CKorvexProcess::RunToEnd(L"", 15000)) << "the second start did not end quietly";
    EXPECT_TRUE(WaitForVisible(true));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == m_korvex.MainWindow(); }, 3000));

    // The switch of the second start does not matter: it only wakes the first.
    EXPECT_EQ(0u, CKorvexProcess::RunToEnd(L"-n", 15000));
    EXPECT_TRUE(WaitForVisible(false));

    EXPECT_TRUE(m_korvex.IsRunning());
    EXPECT_EQ(m_korvex.MainWindow(), FindKorvexMainWindow());
    EXPECT_EQ(1, CountKorvexMainWindows());
}

} // namespace
} // namespace e2e
