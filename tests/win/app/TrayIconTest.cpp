// The notification-area icon: every record handed to the shell has the build's own size, and
// the icon comes back as it was after the notification area was re-created.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/TrayIcon.h"
#include "tests/support/win/ImportHook.h"
#include "tests/support/win/RecordingWindow.h"

namespace {

struct NOTIFY_CALL {
    DWORD nMessage;
    NOTIFYICONDATAW oData;
};
std::vector<NOTIFY_CALL> g_vecCalls;
decltype(&Shell_NotifyIconW) g_pfnShellNotifyIcon = nullptr;

BOOL WINAPI RecordingNotifyIcon(DWORD nMessage, PNOTIFYICONDATAW pData) {
    NOTIFY_CALL oCall{nMessage, {}};
    std::memcpy(&oCall.oData, pData, std::min<size_t>(pData->cbSize, sizeof oCall.oData));
    oCall.oData.cbSize = pData->cbSize;
    g_vecCalls.push_back(oCall);
    return g_pfnShellNotifyIcon(nMessage, pData);
}

std::wstring Tip(const NOTIFYICONDATAW& oData) {
    return std::wstring(oData.szTip, wcsnlen(oData.szTip, std::size(oData.szTip)));
}

} // namespace

TEST(TrayIcon, WholeRecordsAndTheIconBackAsItWas) {
    const wintest::CImportHook oHook("shell32.dll", "Shell_NotifyIconW",
                                     reinterpret_cast<void*>(&RecordingNotifyIcon));
    ASSERT_TRUE(oHook.IsSet());
    g_pfnShellNotifyIcon = oHook.Original<decltype(&Shell_NotifyIconW)>();
    g_vecCalls.clear();
    const wintest::CRecordingWindow oOwner(L"tray owner", nullptr);
    const HICON hIcon = LoadIconW(nullptr, IDI_APPLICATION);

    CTrayIcon oTray;
    ASSERT_TRUE(oTray.SetOwner(oOwner.Handle()));
    ASSERT_TRUE(oTray.Add(hIcon));
    EXPECT_FALSE(oTray.Add(hIcon)); // refused without asking the shell
    EXPECT_TRUE(oTray.SetTooltip(std::wstring(300, L't').c_str()));
    EXPECT_TRUE(oTray.SetCallbackMessage(0x7E9));
    EXPECT_TRUE(oTray.Remove());
    EXPECT_FALSE(oTray.SetCallbackMessage(0x7E9)); // gone
    // The notification area came back: the icon is added again with its tip and message.
    EXPECT_TRUE(oTray.Restore());
    EXPECT_TRUE(oTray.SetCallbackMessage(0x7E9));
    EXPECT_TRUE(oTray.Remove());

    ASSERT_EQ(g_vecCalls.size(), 8u);
    for (const NOTIFY_CALL& oCall : g_vecCalls) {
        EXPECT_EQ(oCall.oData.cbSize, sizeof(NOTIFYICONDATAW));
        EXPECT_EQ(oCall.oData.hWnd, oOwner.Handle());
    }
    EXPECT_EQ(Tip(g_vecCalls[1].oData), std::wstring(127, L't')); // cut to the record's capacity
    const NOTIFY_CALL& oReAdd = g_vecCalls[5];
    EXPECT_EQ(oReAdd.nMessage, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(oReAdd.oData.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP | NIF_MESSAGE));
    EXPECT_EQ(oReAdd.oData.hIcon, hIcon);
    EXPECT_EQ(oReAdd.oData.uCallbackMessage, 0x7E9u);
    EXPECT_EQ(Tip(oReAdd.oData), std::wstring(127, L't'));
}
