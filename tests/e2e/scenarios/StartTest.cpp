// Starting Korvex: hidden in the notification area, the first-run step, and a second start that
// wakes the first. (The start switch: the command line's tests, and every scenario started with
// "-n".)

#include "KorvexScenario.h"
#include "Tray.h"

namespace e2e {
namespace {

using e2eStart = KorvexScenario;

TEST_F(e2eStart, StartsHiddenInTheTrayRegistersForLogOnAndASecondStartTogglesIt) {
    ASSERT_TRUE(StartKorvex());
    const HWND hMain = m_korvex.MainWindow();
    EXPECT_FALSE(IsWindowVisible(hMain)); // (found by its title and marker, as others find it)
    EXPECT_TRUE(PumpUntil([] { return FindTrayIcon().has_value(); }))
        << "no icon with the tooltip \"Korvex\" in the notification area";

    // The first-run step registers for log-on (the value itself: the settings' tests).
    EXPECT_EQ(0u, Setting(L"", L"FirstRun"));
    EXPECT_TRUE(wintest::ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue).has_value());

    // A second start (its switch does not matter) toggles the first's window and ends at once.
    for (const wchar_t* pszArguments : {L"", L"-n"}) {
        const bool bShownBefore = m_korvex.IsVisible();
        EXPECT_EQ(0u, CKorvexProcess::RunSecond(pszArguments)) << "the second start did not end";
        EXPECT_TRUE(WaitForVisible(!bShownBefore));
    }
    int nWindows = 0;
    EXPECT_EQ(hMain, FindKorvexMainWindow(&nWindows));
    EXPECT_EQ(1, nWindows);
}

} // namespace
} // namespace e2e
