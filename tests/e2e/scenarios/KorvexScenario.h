#pragma once
// The base of every scenario: Korvex's settings removed before and after, one Korvex and the
// helper programs always ended, and the user's ways of acting on Korvex and looking at it.

#include "KorvexContract.h"
#include "KorvexProcess.h"
#include "tests/support/win/ChildProcess.h"
#include "tests/support/win/HandlerWindow.h"
#include "tests/support/win/MessagePump.h"
#include "tests/support/win/Registry.h"
#include "tests/support/win/X11Clipboard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using wintest::PumpUntil;

class KorvexScenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ::testing::AssertionResult StartKorvex(const std::wstring& strArguments = L"");

    // Another Wine program (cliptool) copies the text.
    ::testing::AssertionResult Copy(const std::wstring& strText);
    // Copies the texts in turn into an empty history, each once the one before is a row.
    ::testing::AssertionResult CopyEach(const std::vector<std::wstring>& vecTexts);
    // A Linux program (xclip) copies the text and serves it until the scenario ends.
    ::testing::AssertionResult CopyWithXclip(const std::wstring& strText);

    // The main window's "Text" column, row 0 first.
    std::vector<std::wstring> RowTexts() const;
    // Waits until the main window's "Text" column, row 0 first, is exactly vecExpected.
    ::testing::AssertionResult WaitForRows(const std::vector<std::wstring>& vecExpected,
                                           DWORD nTimeoutMs = 5000) const;
    ::testing::AssertionResult WaitForVisible(bool bVisible, DWORD nTimeoutMs = 5000) const;

    // Gives a window of the test (another program for Korvex) the focus and presses the chord.
    ::testing::AssertionResult PressHotkey(std::initializer_list<WORD> keys);
    // Waits until the main window is shown (or hidden), at most nBoundMs after the last hotkey.
    ::testing::AssertionResult WaitForVisibleAfterHotkey(bool bVisible, DWORD nBoundMs = 1000);

    // Starts a program beside the test that ends with the scenario at the latest.
    wintest::CChildProcess& StartHelper(const std::wstring& strProgram,
                                        const std::wstring& strArguments);
    // Starts e2e-viewer <strName> <strMode>, which ends with the scenario at the latest, and
    // waits until it has joined the viewer chain.
    HWND StartViewer(const std::wstring& strName, const std::wstring& strMode);
    // The number of change notifications the viewer has seen (from its title), -1 if unknown.
    static int ViewerDraws(HWND hViewer);

    // A DWORD below Korvex's settings key (strSubkey "Options", "MainWindow", or "").
    static std::optional<DWORD> Setting(const std::wstring& strSubkey, const wchar_t* pszName);
    static bool WriteSetting(const std::wstring& strSubkey, const wchar_t* pszName, DWORD nValue);

    wintest::CRegistryCleanup m_oCleanup; // before m_korvex: Korvex saves its settings as it ends
    CKorvexProcess m_korvex;

private:
    std::vector<std::unique_ptr<wintest::CChildProcess>> m_vecViewers; // and other helpers
    std::vector<std::unique_ptr<wintest::CX11ClipboardOwner>> m_vecXclips;
    std::thread m_oTargetThread; // runs the window that has the focus while hotkeys are pressed
    HWND m_hTarget = nullptr;
    ULONGLONG m_nHotkeyStart = 0; // GetTickCount64 when the last hotkey's injection began
};

std::string ToUtf8(const std::wstring& strText);
// The Windows clipboard's text, as any program reads it.
std::optional<std::wstring> ReadClipboardText();

} // namespace e2e
