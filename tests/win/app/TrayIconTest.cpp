// The notification-area icon: added once, changed, removed, and put back after the notification
// area was re-created; and the program version the about box shows.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/ProductVersion.h"
#include "app/TrayIcon.h"
#include "settings/ApplicationRegistry.h"

namespace {

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override {
        m_hWnd = CreateWindowExW(0, L"STATIC", L"tray owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        m_hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    void TearDown() override {
        m_oTray.Remove();
        DestroyWindow(m_hWnd);
    }

    HWND m_hWnd = nullptr;
    HICON m_hIcon = nullptr;
    CTrayIcon m_oTray;
};

} // namespace

TEST_F(TrayIconTest, AddedOnceChangedRemovedAndPutBack) {
    ASSERT_TRUE(m_oTray.SetOwner(m_hWnd));
    ASSERT_TRUE(m_oTray.Add(m_hIcon));
    // A second add is refused without asking the system.
    EXPECT_FALSE(m_oTray.Add(m_hIcon));
    EXPECT_TRUE(m_oTray.SetTooltip(std::wstring(300, L't').c_str()));
    EXPECT_TRUE(m_oTray.SetCallbackMessage(0x7E9));

    // After removal the icon is gone: changing or removing it again fails.
    EXPECT_TRUE(m_oTray.Remove());
    EXPECT_FALSE(m_oTray.Remove());
    EXPECT_FALSE(m_oTray.SetCallbackMessage(0x7E9));
    EXPECT_EQ(m_oTray.GetIcon(), m_hIcon);

    // When the notification area comes back, the icon is added again as it was.
    EXPECT_TRUE(m_oTray.Restore());
    EXPECT_TRUE(m_oTray.SetCallbackMessage(0x7E9));
}

TEST_F(TrayIconTest, ChangingTheOwnerTakesTheIconAwayFirst) {
    ASSERT_TRUE(m_oTray.SetOwner(m_hWnd));
    ASSERT_TRUE(m_oTray.Add(m_hIcon));
    HWND hWndOther = CreateWindowExW(0, L"STATIC", L"other owner", WS_OVERLAPPED, 0, 0, 10, 10,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWndOther, nullptr);
    EXPECT_TRUE(m_oTray.SetOwner(hWndOther));
    EXPECT_EQ(m_oTray.GetOwner(), hWndOther);
    // The old owner's icon is gone; the new owner has none until it is added again.
    EXPECT_FALSE(m_oTray.Remove());
    m_oTray.SetOwner(m_hWnd);
    DestroyWindow(hWndOther);
}

TEST(ProductVersion, ComesFromTheFixedRecordAndIsMissingWithoutAResource) {
    // This test program carries Korvex's resources: its fixed record says 1.0.0.1, while the
    // text fields write the revision with a leading zero.
    std::wstring strVersion = L"unchanged";
    ASSERT_TRUE(ReadProductVersionText(GetRunningProgramPath().c_str(), strVersion));
    EXPECT_EQ(strVersion, L"1.0.0.1");

    wchar_t szTemp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, szTemp), 0u);
    const std::wstring strPlain = std::wstring(szTemp) + L"korvex-version-test.txt";
    HANDLE hFile = CreateFileW(strPlain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    DWORD nWritten = 0;
    WriteFile(hFile, "no version here", 15, &nWritten, nullptr);
    CloseHandle(hFile);
    strVersion = L"unchanged";
    EXPECT_FALSE(ReadProductVersionText(strPlain.c_str(), strVersion));
    EXPECT_EQ(strVersion, L"unchanged");
    DeleteFileW(strPlain.c_str());
}
