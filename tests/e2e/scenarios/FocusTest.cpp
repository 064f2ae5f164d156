// Where Korvex's windows open and where the keyboard is when they close, with another program's
// window (fieldtarget) as the one the user works in.

#include "KorvexDialog.h"
#include "KorvexScenario.h"
#include "Mouse.h"
#include "Tray.h"
#include "tests/support/win/Keyboard.h"

namespace e2e {
namespace {

using e2eFocus = KorvexScenario;

POINT Centre(HWND hWnd) {
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST_F(e2eFocus, TheOptionsDialogOpensOnTheCursorsMonitorAndGivesTheForegroundBack) {
    ASSERT_TRUE(StartKorvex());
    StartHelper(L"fieldtarget.exe", L"");
    HWND hTarget = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (hTarget = FindWindowW(L"KorvexFieldTarget", nullptr)) != nullptr; }, 10000));
    ASSERT_TRUE(wintest::SetForegroundSettled(hTarget));

    // From the notification area, with the main window hidden, closed by Esc and by OK.
    for (const bool bEscape : {true, false}) {
        SCOPED_TRACE(bEscape ? "Esc" : "OK");
        ASSERT_NE(nullptr, OpenTrayMenu(m_korvex.ProcessId()));
        ASSERT_EQ(2u, wintest::InjectKeys(wintest::Chord({'O'}))); // "&Options"
        const HWND hOptions = WaitForDialog(m_korvex.ProcessId(), kOptionsTitle);
        ASSERT_NE(nullptr, hOptions);
        POINT ptCursor{};
        GetCursorPos(&ptCursor);
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        GetMonitorInfoW(MonitorFromPoint(ptCursor, MONITOR_DEFAULTTOPRIMARY), &mi);
        const POINT ptCentre = Centre(hOptions);
        EXPECT_NEAR(ptCentre.x, (mi.rcWork.left + mi.rcWork.right) / 2, 1);
        EXPECT_NEAR(ptCentre.y, (mi.rcWork.top + mi.rcWork.bottom) / 2, 1);

        if (bEscape) {
            ASSERT_TRUE(TypeInto(hOptions, {{VK_ESCAPE}}));
        } else {
            ASSERT_TRUE(ClickAt(Centre(GetDlgItem(hOptions, IDOK))));
        }
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hOptions); }));
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == hTarget; }))
            << "the foreground is " << GetForegroundWindow();
    }
}

} // namespace
} // namespace e2e
