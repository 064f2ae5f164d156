#pragma once
// The base of every scenario: a clean registry before and after, one Korvex that is always
// ended, helper programs that are always ended, and the user's ways of looking at Korvex (its
// list rows, its window, the clipboard, the registry).

#include "HelperProcess.h"
#include "KorvexProcess.h"
#include "TargetWindow.h"
#include "tests/support/win/X11Clipboard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class KorvexScenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts Korvex and waits until it runs; the assertion says why it did not.
    ::testing::AssertionResult StartKorvex(const std::wstring& strArguments = L"");

    // Another program (cliptool) copies the text.
    ::testing::AssertionResult Copy(const std::wstring& strText);
    // Copies the texts one after the other into an empty history, each once the one before is
    // a row (a copy that replaces the clipboard before Korvex read it is rightly not a row).
    ::testing::AssertionResult CopyEach(const std::vector<std::wstring>& vecTexts);
    // A Linux program (xclip) copies the text; it serves the clipboard until another program
    // takes it, at the latest until the scenario ends.
    ::testing::AssertionResult CopyWithXclip(const std::wstring& strText);

    // The main window's rows: the "Text" column, row 0 first.
    std::vector<std::wstring> RowTexts() const;
    // Waits until the rows are exactly these texts.
    ::testing::AssertionResult WaitForRows(const std::vector<std::wstring>& vecExpected,
                                           DWORD nTimeoutMs = 5000) const;
    // Waits until the main window is shown (or hidden).
    ::testing::AssertionResult WaitForVisible(bool bVisible, DWORD nTimeoutMs = 5000) const;

    // A window of the test to type into while pressing hotkeys; created on first use.
    CTargetWindow& Target();
    // Focuses the target window and presses the chord; the assertion fails when the focus did
    // not move or SendInput did not return within the bound.
    ::testing::AssertionResult PressHotkey(std::initializer_list<WORD> keys);
    // Waits until the main window is shown (or hidden) and checks that this happened within
    // nBoundMs of the start of the last hotkey's injection.
    ::testing::AssertionResult WaitForVisibleAfterHotkey(bool bVisible, DWORD nBoundMs);

    // Starts a helper that ends with the scenario at the latest.
    CHelperProcess& StartHelper(const std::wstring& strCommandLine, bool bCaptureOutput = false);
    // Starts e2e-viewer with the arguments (a name and a mode) and waits until it has joined
    // the clipboard viewer chain; its window, or NULL.
    HWND StartViewer(const std::wstring& strName, const std::wstring& strMode);
    // The number of change notifications the viewer has seen (from its title), -1 if unknown.
    static int ViewerDraws(HWND hViewer);

    // A new file with the text in UTF-8, removed when the scenario ends; its path.
    std::wstring MakeTextFile(const std::wstring& strText);

    CKorvexProcess m_korvex;

private:
    std::vector<std::unique_ptr<CHelperProcess>> m_vecHelpers;
    std::vector<std::wstring> m_vecTempFiles;
    std::vector<std::unique_ptr<wintest::CX11ClipboardOwner>> m_vecXclips;
    std::unique_ptr<CTargetWindow> m_pTarget;
    ULONGLONG m_nHotkeyStart = 0;  // GetTickCount64 when the last hotkey's injection began
    ULONGLONG m_nHotkeySendMs = 0; // how long SendInput took for it (the hooks' answers)
};

// Converts for messages and files.
std::string ToUtf8(const std::wstring& strText);
std::wstring Quoted(const std::vector<std::wstring>& vecTexts);

// A creation time as the list shows it ("%Y.%m.%d %H:%M:%S", local time), if it has exactly
// that form.
std::optional<time_t> ParseShownTime(const std::wstring& strText);

} // namespace e2e
