#include "KorvexScenario.h"

#include "InputInjector.h"
#include "KorvexContract.h"
#include "Registry.h"
#include "RemoteListView.h"
#include "Wait.h"

#include <cstdio>
#include <ctime>

namespace e2e {

std::string ToUtf8(const std::wstring& strText) {
    if (strText.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string strUtf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                        strUtf8.data(), n, nullptr, nullptr);
    return strUtf8;
}

std::wstring Quoted(const std::vector<std::wstring>& vecTexts) {
    std::wstring strAll = L"[";
    for (size_t i = 0; i < vecTexts.size(); ++i) {
        strAll += (i ? L", \"" : L"\"") + vecTexts[i] + L"\"";
    }
    return strAll + L"]";
}

std::optional<time_t> ParseShownTime(const std::wstring& strText) {
    // yyyy.mm.dd HH:MM:SS
    static const wchar_t kPattern[] = L"dddd.dd.dd dd:dd:dd";
    if (strText.size() != wcslen(kPattern)) {
        return std::nullopt;
    }
    for (size_t i = 0; i < strText.size(); ++i) {
        const bool bDigit = strText[i] >= L'0' && strText[i] <= L'9';
        if (kPattern[i] == L'd' ? !bDigit : strText[i] != kPattern[i]) {
            return std::nullopt;
        }
    }
    std::tm tm{};
    swscanf(strText.c_str(), L"%d.%d.%d %d:%d:%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
            &tm.tm_hour, &tm.tm_min, &tm.tm_sec);
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    const time_t nTime = std::mktime(&tm);
    if (nTime == static_cast<time_t>(-1)) {
        return std::nullopt;
    }
    return nTime;
}

void KorvexScenario::SetUp() {
    // A Korvex left over by an earlier program would answer instead of ours.
    if (HWND hStale = FindKorvexMainWindow()) {
        DWORD nProcessId = 0;
        GetWindowThreadProcessId(hStale, &nProcessId);
        PostMessageW(hStale, WM_COMMAND, kCmdFileExit, 0);
        if (!WaitUntil([] { return FindKorvexMainWindow() == nullptr; }, 10000)) {
            if (HANDLE hProcess = OpenProcess(PROCESS_TERMINATE, FALSE, nProcessId)) {
                TerminateProcess(hProcess, 1);
                CloseHandle(hProcess);
            }
        }
    }
    DeleteKorvexSettings();
}

void KorvexScenario::TearDown() {
    m_korvex.Stop();
    m_vecHelpers.clear(); // ends every helper that still runs
    m_pTarget.reset();
    m_vecXclips.clear(); // ends every xclip that still serves the clipboard
    for (const std::wstring& strFile : m_vecTempFiles) {
        DeleteFileW(strFile.c_str());
    }
    DeleteKorvexSettings();
}

::testing::AssertionResult KorvexScenario::StartKorvex(const std::wstring& strArguments) {
    if (!m_korvex.Start(strArguments)) {
        return ::testing::AssertionFailure() << "Korvex did not start: " << m_korvex.Failure();
    }
    return ::testing::AssertionSuccess();
}

std::wstring KorvexScenario::MakeTextFile(const std::wstring& strText) {
    wchar_t aFolder[MAX_PATH + 1] = {};
    wchar_t aPath[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, aFolder) == 0 ||
        GetTempFileNameW(aFolder, L"kvx", 0, aPath) == 0) {
        return L"";
    }
    m_vecTempFiles.push_back(aPath);
    FILE* pFile = _wfopen(aPath, L"wb");
    if (pFile != nullptr) {
        const std::string strUtf8 = ToUtf8(strText);
        std::fwrite(strUtf8.data(), 1, strUtf8.size(), pFile);
        std::fclose(pFile);
    }
    return aPath;
}

::testing::AssertionResult KorvexScenario::Copy(const std::wstring& strText) {
    const int nCode = RunClipTool(L"write-file \"" + MakeTextFile(strText) + L"\"");
    if (nCode != 0) {
        return ::testing::AssertionFailure()
               << "cliptool could not copy \"" << ToUtf8(strText) << "\": exit code " << nCode;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KorvexScenario::CopyEach(const std::vector<std::wstring>& vecTexts) {
    std::vector<std::wstring> vecExpected;
    for (const std::wstring& strText : vecTexts) {
        ::testing::AssertionResult copied = Copy(strText);
        if (!copied) {
            return copied;
        }
        vecExpected.insert(vecExpected.begin(), strText);
        ::testing::AssertionResult shown = WaitForRows(vecExpected);
        if (!shown) {
            return shown;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KorvexScenario::CopyWithXclip(const std::wstring& strText) {
    m_vecXclips.push_back(std::make_unique<wintest::CX11ClipboardOwner>());
    if (!m_vecXclips.back()->Copy(ToUtf8(strText))) {
        return ::testing::AssertionFailure() << "xclip could not be started";
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::wstring> KorvexScenario::RowTexts() const {
    CRemoteListView list(m_korvex.ListWindow());
    return list.Column(kColumnText);
}

::testing::AssertionResult KorvexScenario::WaitForRows(const std::vector<std::wstring>& vecExpected,
                                                       DWORD nTimeoutMs) const {
    std::vector<std::wstring> vecRows;
    if (WaitUntil(
            [&] {
                vecRows = RowTexts();
                return vecRows == vecExpected;
            },
            nTimeoutMs, 30)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "rows after " << nTimeoutMs << " ms: " << ToUtf8(Quoted(vecRows))
           << "\n            expected: " << ToUtf8(Quoted(vecExpected));
}

::testing::AssertionResult KorvexScenario::WaitForVisible(bool bVisible, DWORD nTimeoutMs) const {
    if (WaitUntil([&] { return m_korvex.IsMainWindowVisible() == bVisible; }, nTimeoutMs, 10)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the main window is still " << (bVisible ? "hidden" : "shown") << " after "
           << nTimeoutMs << " ms";
}

CTargetWindow& KorvexScenario::Target() {
    if (!m_pTarget) {
        m_pTarget = std::make_unique<CTargetWindow>();
        EXPECT_TRUE(m_pTarget->Create()) << "the target window did not appear";
    }
    return *m_pTarget;
}

::testing::AssertionResult KorvexScenario::PressHotkey(std::initializer_list<WORD> keys) {
    if (!Target().Focus()) {
        return ::testing::AssertionFailure() << "the target window did not get the focus";
    }
    m_nHotkeyStart = GetTickCount64();
    const InjectionResult result = PressChord(keys);
    m_nHotkeySendMs = result.nDurationMs;
    if (!result.bDone || !result.bAllSent) {
        return ::testing::AssertionFailure()
               << "SendInput " << (result.bDone ? "refused events" : "did not return") << " ("
               << result.nDurationMs << " ms): a keyboard hook blocks the input";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KorvexScenario::WaitForVisibleAfterHotkey(bool bVisible,
                                                                     DWORD nBoundMs) {
    // Wait longer than the bound, to tell a slow reaction from none.
    const bool bReached =
        WaitUntil([&] { return m_korvex.IsMainWindowVisible() == bVisible; }, nBoundMs + 3000, 5);
    const ULONGLONG nReaction = ElapsedMs(m_nHotkeyStart);
    if (!bReached) {
        return ::testing::AssertionFailure()
               << "the main window was not " << (bVisible ? "shown" : "hidden") << " " << nReaction
               << " ms after the hotkey";
    }
    if (nReaction > nBoundMs) {
        return ::testing::AssertionFailure()
               << "the main window was " << (bVisible ? "shown" : "hidden") << " only " << nReaction
               << " ms after the hotkey (bound " << nBoundMs << " ms)";
    }
    return ::testing::AssertionSuccess() << nReaction << " ms";
}

CHelperProcess& KorvexScenario::StartHelper(const std::wstring& strCommandLine,
                                            bool bCaptureOutput) {
    m_vecHelpers.push_back(std::make_unique<CHelperProcess>());
    EXPECT_TRUE(m_vecHelpers.back()->Start(strCommandLine, bCaptureOutput))
        << "could not start " << ToUtf8(strCommandLine);
    return *m_vecHelpers.back();
}

HWND KorvexScenario::StartViewer(const std::wstring& strName, const std::wstring& strMode) {
    CHelperProcess& oViewer =
        StartHelper(L"\"" + ProgramPath(L"e2e-viewer.exe") + L"\" " + strName + L" " + strMode);
    HWND hViewer = nullptr;
    WaitUntil(
        [&] {
            for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"KorvexE2eViewer", nullptr);
                 hWnd != nullptr;
                 hWnd = FindWindowExW(nullptr, hWnd, L"KorvexE2eViewer", nullptr)) {
                DWORD nOwner = 0;
                GetWindowThreadProcessId(hWnd, &nOwner);
                if (nOwner == oViewer.Id() && ViewerDraws(hWnd) >= 0) {
                    hViewer = hWnd;
                    return true;
                }
            }
            return !oViewer.IsRunning();
        },
        10000);
    return hViewer;
}

int KorvexScenario::ViewerDraws(HWND hViewer) {
    wchar_t aTitle[128] = {};
    // The window's own text: read without a message, so a hung viewer can be asked too.
    InternalGetWindowText(hViewer, aTitle, 128);
    const wchar_t* pSpace = wcsrchr(aTitle, L' ');
    if (pSpace == nullptr || pSpace[1] == 0) {
        return -1;
    }
    return static_cast<int>(wcstol(pSpace + 1, nullptr, 10));
}

} // namespace e2e
