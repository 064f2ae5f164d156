// The notification-area icon as the taskbar shows it: added once, gone when removed, and back
// with its tooltip after the notification area was re-created.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/TrayIcon.h"
#include "tests/e2e/scenarios/Tray.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/HandlerWindow.h"

using wintest::PumpUntil;

TEST(TrayIcon, AddedOnceGoneWhenRemovedAndBackWithItsTooltip) {
    const wintest::CRecordingWindow oOwner(L"tray owner", nullptr);
    const HICON hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    CTrayIcon oTray;
    EXPECT_FALSE(oTray.Restore()); // no icon was ever added
    ASSERT_TRUE(oTray.SetOwner(oOwner.Handle()));
    // Set before the icon is added, they go with it.
    EXPECT_TRUE(oTray.SetTooltip(std::wstring(300, L't').c_str())); // cut to the record's size
    EXPECT_TRUE(oTray.SetTooltip(L"Korvex"));                       // what the taskbar looks for
    EXPECT_TRUE(oTray.SetCallbackMessage(0x7E9));
    ASSERT_TRUE(oTray.Add(hIcon));
    EXPECT_FALSE(oTray.Add(hIcon));
    EXPECT_TRUE(PumpUntil([] { return e2e::FindTrayIcon().has_value(); }));
    EXPECT_TRUE(oTray.SetTooltip(L"Korvex"));
    EXPECT_TRUE(oTray.Remove());
    EXPECT_FALSE(oTray.SetCallbackMessage(0x7E9)); // gone
    EXPECT_TRUE(PumpUntil([] { return !e2e::FindTrayIcon(); }));
    // The notification area came back: the icon is added again with its tooltip.
    EXPECT_TRUE(oTray.Restore());
    EXPECT_TRUE(PumpUntil([] { return e2e::FindTrayIcon().has_value(); }));
    EXPECT_TRUE(oTray.SetCallbackMessage(0x7E9));
    EXPECT_TRUE(oTray.Remove());
}
