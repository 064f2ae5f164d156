#include "KorvexScenario.h"

#include "RemoteListView.h"
#include "tests/support/win/Keyboard.h"

#include <atomic>
#include <cstdio>

namespace e2e {

std::string ToUtf8(const std::wstring& strText) {
    const int nWide = static_cast<int>(strText.size());
    std::string strUtf8(
        WideCharToMultiByte(CP_UTF8, 0, strText.data(), nWide, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), nWide, strUtf8.data(),
                        static_cast<int>(strUtf8.size()), nullptr, nullptr);
    return strUtf8;
}

std::optional<std::wstring> ReadClipboardText() {
    std::optional<std::wstring> optText;
    if (PumpUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000)) {
        HANDLE hData = GetClipboardData(CF_UNICODETEXT);
        if (const auto* pText = hData ? static_cast<const wchar_t*>(GlobalLock(hData)) : nullptr) {
            optText = std::wstring(pText, wcsnlen(pText, GlobalSize(hData) / sizeof(wchar_t)));
            GlobalUnlock(hData);
        }
        CloseClipboard();
    }
    return optText;
}

namespace {

std::string Quoted(const std::vector<std::wstring>& vecTexts) {
    std::string strAll = "[";
    for (const std::wstring& strText : vecTexts) {
        strAll += (strAll.size() > 1 ? ", \"" : "\"") + ToUtf8(strText) + "\"";
    }
    return strAll + "]";
}

} // namespace

void KorvexScenario::SetUp() {
    // A Korvex left over by an earlier test program would answer instead of ours.
    if (HWND hStale = FindKorvexMainWindow()) {
        PostMessageW(hStale, WM_COMMAND, kCmdFileExit, 0);
        ASSERT_TRUE(PumpUntil([] { return !FindKorvexMainWindow(); }, 10000));
    }
    m_oCleanup.Key(HKEY_CURRENT_USER, kSettingsKey).Value(HKEY_CURRENT_USER, kRunKey, kRunValue);
}

void KorvexScenario::TearDown() {
    m_korvex.Stop();
    m_vecViewers.clear();
    if (m_oTargetThread.joinable()) {
        PostMessageW(m_hTarget, WM_CLOSE, 0, 0);
        m_oTargetThread.join();
    }
    m_vecXclips.clear();
}

::testing::AssertionResult KorvexScenario::StartKorvex(const std::wstring& strArguments) {
    const std::string strFailure = m_korvex.Start(strArguments);
    return strFailure.empty() ? ::testing::AssertionSuccess()
                              : ::testing::AssertionFailure() << "Korvex: " << strFailure;
}

::testing::AssertionResult KorvexScenario::Copy(const std::wstring& strText) {
    // The text as the bytes of a CF_UNICODETEXT block with its NUL, in hex.
    std::wstring strHex;
    for (const wchar_t c : strText + L'\0') {
        wchar_t aByte[8];
        swprintf(aByte, 8, L"%02x%02x", c & 0xFF, c >> 8);
        strHex += aByte;
    }
    wintest::CChildProcess oClipTool;
    if (!oClipTool.Start(L"\"" + wintest::ProgramPath(L"cliptool.exe") + L"\" write-raw " +
                         strHex) ||
        !oClipTool.WaitForExit(15000) || oClipTool.ExitCode() != 0) {
        return ::testing::AssertionFailure()
               << "cliptool could not copy \"" << ToUtf8(strText) << "\": " << oClipTool.ExitCode();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KorvexScenario::CopyEach(const std::vector<std::wstring>& vecTexts) {
    std::vector<std::wstring> vecExpected;
    for (const std::wstring& strText : vecTexts) {
        vecExpected.insert(vecExpected.begin(), strText);
        if (::testing::AssertionResult oDone = Copy(strText); !oDone) {
            return oDone;
        }
        if (::testing::AssertionResult oShown = WaitForRows(vecExpected); !oShown) {
            return oShown;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KorvexScenario::CopyWithXclip(const std::wstring& strText) {
    m_vecXclips.push_back(std::make_unique<wintest::CX11ClipboardOwner>());
    return m_vecXclips.back()->Copy(ToUtf8(strText))
               ? ::testing::AssertionSuccess()
               : ::testing::AssertionFailure() << "xclip could not be started";
}

std::vector<std::wstring> KorvexScenario::RowTexts() const {
    return CRemoteListView(m_korvex.ListWindow()).Column(kColumnText);
}

::testing::AssertionResult KorvexScenario::WaitForRows(const std::vector<std::wstring>& vecExpected,
                                                       DWORD nTimeoutMs) const {
    std::vector<std::wstring> vecRows;
    if (PumpUntil([&] { return (vecRows = RowTexts()) == vecExpected; }, nTimeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "rows after " << nTimeoutMs << " ms: " << Quoted(vecRows)
           << "\n            expected: " << Quoted(vecExpected);
}

::testing::AssertionResult KorvexScenario::WaitForVisible(bool bVisible, DWORD nTimeoutMs) const {
    if (PumpUntil([&] { return m_korvex.IsVisible() == bVisible; }, nTimeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the main window is still " << (bVisible ? "hidden" : "shown");
}

::testing::AssertionResult KorvexScenario::PressHotkey(std::initializer_list<WORD> keys) {
    if (!m_oTargetThread.joinable()) {
        // A window that answers on its own thread while the test waits, away from where
        // Korvex's main window opens (the top-left corner).
        std::atomic<HWND> hCreated = nullptr;
        m_oTargetThread = std::thread([&] {
            wintest::CHandlerWindow oTarget([](UINT nMsg, WPARAM, LPARAM) {
                return nMsg == WM_CLOSE ? (PostQuitMessage(0), std::optional<LRESULT>(0))
                                        : std::nullopt;
            });
            SetWindowPos(oTarget.Handle(), HWND_TOP, 700, 300, 400, 260, SWP_SHOWWINDOW);
            hCreated = oTarget.Handle();
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                DispatchMessageW(&msg);
            }
        });
        PumpUntil([&] { return hCreated.load() != nullptr; });
        m_hTarget = hCreated;
    }
    if (!wintest::SetForegroundSettled(m_hTarget)) {
        return ::testing::AssertionFailure() << "the target window did not get the focus";
    }
    m_nHotkeyStart = GetTickCount64();
    const std::vector<wintest::KeyStroke> vecStrokes = wintest::Chord(keys);
    if (wintest::InjectKeys(vecStrokes, 5000) != vecStrokes.size()) {
        return ::testing::AssertionFailure()
               << "SendInput did not take the keys within 5 s: a keyboard hook blocks the input";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KorvexScenario::WaitForVisibleAfterHotkey(bool bVisible,
                                                                     DWORD nBoundMs) {
    // Wait longer than the bound, to tell a slow reaction from none.
    const bool bReached =
        PumpUntil([&] { return m_korvex.IsVisible() == bVisible; }, nBoundMs + 3000);
    const ULONGLONG nReaction = GetTickCount64() - m_nHotkeyStart;
    if (bReached && nReaction <= nBoundMs) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the main window was " << (bReached ? "" : "not ")
                                         << (bVisible ? "shown " : "hidden ") << nReaction
                                         << " ms after the hotkey (bound " << nBoundMs << " ms)";
}

wintest::CChildProcess& KorvexScenario::StartHelper(const std::wstring& strProgram,
                                                    const std::wstring& strArguments) {
    m_vecViewers.push_back(std::make_unique<wintest::CChildProcess>());
    EXPECT_TRUE(m_vecViewers.back()->Start(L"\"" + wintest::ProgramPath(strProgram.c_str()) +
                                           L"\" " + strArguments))
        << "could not start " << ToUtf8(strProgram);
    return *m_vecViewers.back();
}

HWND KorvexScenario::StartViewer(const std::wstring& strName, const std::wstring& strMode) {
    wintest::CChildProcess& oViewer = StartHelper(L"e2e-viewer.exe", strName + L" " + strMode);
    HWND hViewer = nullptr;
    PumpUntil(
        [&] {
            // Its title "<name> <n>" appears once it has joined.
            hViewer = FindWindowW(L"KorvexE2eViewer", (strName + L" 0").c_str());
            return hViewer != nullptr || !oViewer.IsRunning();
        },
        10000);
    return hViewer;
}

int KorvexScenario::ViewerDraws(HWND hViewer) {
    wchar_t aTitle[128] = {};
    // The window's own text, read without a message, so a hung viewer can be asked too.
    InternalGetWindowText(hViewer, aTitle, 128);
    const wchar_t* pSpace = wcsrchr(aTitle, L' ');
    return pSpace != nullptr && pSpace[1] != 0 ? static_cast<int>(wcstol(pSpace + 1, nullptr, 10))
                                               : -1;
}

std::optional<DWORD> KorvexScenario::Setting(const std::wstring& strSubkey,
                                             const wchar_t* pszName) {
    const std::wstring strKey =
        strSubkey.empty() ? kSettingsKey : kSettingsKey + (L"\\" + strSubkey);
    return wintest::ReadRegistryDWord(HKEY_CURRENT_USER, strKey, pszName);
}

bool KorvexScenario::WriteSetting(const std::wstring& strSubkey, const wchar_t* pszName,
                                  DWORD nValue) {
    return wintest::WriteRegistryDWord(HKEY_CURRENT_USER, kSettingsKey + (L"\\" + strSubkey),
                                       pszName, nValue);
}

} // namespace e2e
