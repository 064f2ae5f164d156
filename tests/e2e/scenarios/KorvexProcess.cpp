#include "KorvexProcess.h"

#include "KorvexContract.h"
#include "tests/support/win/MessagePump.h"

namespace e2e {

namespace {

std::wstring KorvexCommandLine(const std::wstring& strArguments) {
    return L"\"" + wintest::ProgramPath(L"korvex.exe") + L"\" " + strArguments;
}

} // namespace

HWND FindKorvexMainWindow(int* pCount) {
    HWND hFound = nullptr;
    int nCount = 0;
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, kMainWindowTitle); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, nullptr, kMainWindowTitle)) {
        if (FindWindowExW(hWnd, nullptr, nullptr, kMarkerTitle) != nullptr) {
            hFound = hWnd;
            ++nCount;
        }
    }
    if (pCount != nullptr) {
        *pCount = nCount;
    }
    return hFound;
}

std::string CKorvexProcess::Start(const std::wstring& strArguments) {
    Stop();
    m_pProcess = std::make_unique<wintest::CChildProcess>();
    if (!m_pProcess->Start(KorvexCommandLine(strArguments))) {
        return "korvex.exe could not be started";
    }
    // No other Korvex runs (the scenario ended any), so the window found is this one's.
    if (!wintest::PumpUntil([&] { return (m_hMain = FindKorvexMainWindow()) || !IsRunning(); },
                            20000) ||
        m_hMain == nullptr) {
        return IsRunning() ? "no main window within 20 s"
                           : "korvex.exe ended at start with code " + std::to_string(ExitCode());
    }
    // The window exists before start-up has finished (first-run step, hotkeys): wait until the
    // message loop idles.
    HANDLE hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessId());
    const bool bIdle = hProcess != nullptr && WaitForInputIdle(hProcess, 10000) == 0;
    if (hProcess != nullptr) {
        CloseHandle(hProcess);
    }
    return bIdle && Responds(10000) ? "" : "the main window does not answer messages";
}

DWORD CKorvexProcess::RunSecond(const std::wstring& strArguments) {
    wintest::CChildProcess oSecond;
    return oSecond.Start(KorvexCommandLine(strArguments)) && oSecond.WaitForExit(15000)
               ? oSecond.ExitCode()
               : STILL_ACTIVE;
}

DWORD CKorvexProcess::ProcessId() const {
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(m_hMain, &nProcessId);
    return nProcessId;
}

bool CKorvexProcess::Responds(DWORD nTimeoutMs) const {
    DWORD_PTR nResult = 0;
    return m_hMain != nullptr &&
           SendMessageTimeoutW(m_hMain, WM_NULL, 0, 0, SMTO_NORMAL, nTimeoutMs, &nResult) != 0;
}

bool CKorvexProcess::ExitWith(UINT nCommand) {
    return IsRunning() && PostMessageW(m_hMain, WM_COMMAND, nCommand, 0) &&
           m_pProcess->WaitForExit(15000);
}

void CKorvexProcess::Stop() {
    // A Korvex that does not answer cannot take its Exit command either.
    if (IsRunning() && Responds(2000)) {
        ExitWith(kCmdFileExit);
    }
    m_pProcess.reset(); // ends it if it still runs
    m_hMain = nullptr;
}

} // namespace e2e
