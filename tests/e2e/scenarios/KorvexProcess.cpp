#include "KorvexProcess.h"

#include "KorvexContract.h"
#include "Wait.h"

namespace e2e {

HWND FindKorvexMainWindow() {
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, kMainWindowTitle); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, nullptr, kMainWindowTitle)) {
        if (FindWindowExW(hWnd, nullptr, nullptr, kMarkerTitle) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

int CountKorvexMainWindows() {
    int nCount = 0;
    for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, kMainWindowTitle); hWnd != nullptr;
         hWnd = FindWindowExW(nullptr, hWnd, nullptr, kMainWindowTitle)) {
        if (FindWindowExW(hWnd, nullptr, nullptr, kMarkerTitle) != nullptr) {
            ++nCount;
        }
    }
    return nCount;
}

CKorvexProcess::~CKorvexProcess() {
    Stop();
}

bool CKorvexProcess::Start(const std::wstring& strArguments) {
    m_strFailure.clear();
    m_hMainWindow = nullptr;
    m_strPath = ProgramPath(L"korvex.exe");
    std::wstring strCommandLine = L"\"" + m_strPath + L"\"";
    if (!strArguments.empty()) {
        strCommandLine += L" " + strArguments;
    }
    if (!m_oProcess.Start(strCommandLine)) {
        m_strFailure = "korvex.exe could not be started";
        return false;
    }
    const bool bFound = WaitUntil(
        [&] {
            const HWND hWnd = FindKorvexMainWindow();
            DWORD nOwner = 0;
            if (hWnd != nullptr) {
                GetWindowThreadProcessId(hWnd, &nOwner);
            }
            if (nOwner == m_oProcess.Id()) {
                m_hMainWindow = hWnd;
                return true;
            }
            return !m_oProcess.IsRunning();
        },
        20000);
    if (!bFound || m_hMainWindow == nullptr) {
        m_strFailure = m_oProcess.IsRunning() ? "no main window within 20 s"
                                              : "korvex.exe ended at start with code " +
                                                    std::to_string(m_oProcess.ExitCode());
        return false;
    }
    // The main window exists before start-up has finished (first-run step, hotkeys): wait until
    // the message loop runs and answers.
    if (WaitForInputIdle(m_oProcess.Handle(), 10000) != 0 || !Responds(10000)) {
        m_strFailure = "the main window does not answer messages";
        return false;
    }
    return true;
}

DWORD CKorvexProcess::RunToEnd(const std::wstring& strArguments, DWORD nTimeoutMs) {
    CHelperProcess oProcess;
    std::wstring strCommandLine = L"\"" + ProgramPath(L"korvex.exe") + L"\"";
    if (!strArguments.empty()) {
        strCommandLine += L" " + strArguments;
    }
    if (!oProcess.Start(strCommandLine)) {
        return STILL_ACTIVE;
    }
    oProcess.WaitForExit(nTimeoutMs);
    return oProcess.ExitCode(); // STILL_ACTIVE when it did not end; it is killed on return
}

HWND CKorvexProcess::ListWindow() const {
    return m_hMainWindow ? FindWindowExW(m_hMainWindow, nullptr, L"SysListView32", nullptr)
                         : nullptr;
}

bool CKorvexProcess::Responds(DWORD nTimeoutMs) const {
    DWORD_PTR nResult = 0;
    return m_hMainWindow != nullptr && SendMessageTimeoutW(m_hMainWindow, WM_NULL, 0, 0,
                                                           SMTO_NORMAL, nTimeoutMs, &nResult) != 0;
}

bool CKorvexProcess::IsMainWindowVisible() const {
    return m_hMainWindow != nullptr && IsWindowVisible(m_hMainWindow);
}

bool CKorvexProcess::ExitWith(UINT nCommand, DWORD nTimeoutMs) {
    if (!m_oProcess.IsRunning()) {
        return true;
    }
    PostMessageW(m_hMainWindow, WM_COMMAND, nCommand, 0);
    return m_oProcess.WaitForExit(nTimeoutMs);
}

void CKorvexProcess::Stop() {
    // A Korvex that does not answer cannot take its Exit command either.
    if (m_oProcess.IsRunning() && m_hMainWindow != nullptr && Responds(2000)) {
        ExitWith(kCmdFileExit, 10000);
    }
    m_oProcess.Kill(); // the last resort; nothing happens when it has already ended
    m_hMainWindow = nullptr;
}

} // namespace e2e
