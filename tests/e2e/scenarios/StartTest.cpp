// Starting Korvex: hidden in the notification area, the first-run step, the start switch, and
// a second start that wakes the first.

#include "KorvexScenario.h"
#include "Tray.h"

namespace e2e {
namespace {

using e2eStart = KorvexScenario;

TEST_F(e2eStart, StartsHiddenInTheTrayRegistersForLogOnAndASecondStartTogglesIt) {
    ASSERT_TRUE(StartKorvex());
    const HWND hMain = m_korvex.MainWindow();
    EXPECT_FALSE(IsWindowVisible(hMain));
    wchar_t aTitle[64] = {};
    GetWindowTextW(hMain, aTitle, 64);
    EXPECT_STREQ(kMainWindowTitle, aTitle);
    EXPECT_NE(nullptr, FindWindowExW(hMain, nullptr, nullptr, kMarkerTitle));
    EXPECT_TRUE(PumpUntil([] { return FindTrayIcon().has_value(); }))
        << "no icon with the tooltip \"Korvex\" in the notification area";

    EXPECT_EQ(0u, Setting(L"", L"FirstRun"));
    const std::wstring strQuoted = L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\"";
    const std::optional<wintest::RegistryValue> optRun =
        wintest::ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue);
    ASSERT_TRUE(optRun.has_value()) << "no Run value";
    std::wstring strRun(reinterpret_cast<const wchar_t*>(optRun->vecData.data()),
                        optRun->vecData.size() / sizeof(wchar_t));
    EXPECT_EQ(strQuoted, strRun.substr(0, strRun.find(L'\0')));

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

TEST_F(e2eStart, SwitchNAfterHyphenOrSlashShowsTheWindow) {
    for (const auto& [pszArguments, bShown] :
         {std::pair{L"-n", true}, std::pair{L"/n", true}, std::pair{L"/N", false}}) {
        SCOPED_TRACE(ToUtf8(pszArguments));
        ASSERT_TRUE(StartKorvex(pszArguments));
        EXPECT_EQ(bShown, m_korvex.IsVisible());
        m_korvex.Stop();
    }
}

} // namespace
} // namespace e2e
