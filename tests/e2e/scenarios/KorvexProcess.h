#pragma once
// The real korvex.exe, started with its command line, found by its window as every other
// program finds it (a top-level window "Korvex" with the marker child), ended with its Exit
// command.

#include "tests/support/win/ChildProcess.h"

#include <windows.h>

#include <memory>
#include <string>

namespace e2e {

// The main window of a running Korvex, or NULL; pCount gets how many there are.
HWND FindKorvexMainWindow(int* pCount = nullptr);

class CKorvexProcess {
public:
    ~CKorvexProcess() { Stop(); }

    // Starts korvex.exe and waits (bounded) until its main window exists and its message loop
    // runs. Empty on success, else why not.
    std::string Start(const std::wstring& strArguments);
    // Starts korvex.exe while this one runs: its exit code, STILL_ACTIVE when it did not end.
    static DWORD RunSecond(const std::wstring& strArguments);

    HWND MainWindow() const { return m_hMain; }
    HWND ListWindow() const { return FindWindowExW(m_hMain, nullptr, L"SysListView32", nullptr); }
    DWORD ProcessId() const;
    bool IsRunning() const { return m_pProcess && m_pProcess->IsRunning(); }
    DWORD ExitCode() const { return m_pProcess ? m_pProcess->ExitCode() : STILL_ACTIVE; }
    bool IsVisible() const { return m_hMain != nullptr && IsWindowVisible(m_hMain); }
    // True when the main window's thread answers a message within nTimeoutMs.
    bool Responds(DWORD nTimeoutMs = 5000) const;

    // Posts the menu command and waits (bounded) for the process to end.
    bool ExitWith(UINT nCommand);
    // Exits through the File menu; ends the process by force as a last resort.
    void Stop();

private:
    std::unique_ptr<wintest::CChildProcess> m_pProcess;
    HWND m_hMain = nullptr;
};

} // namespace e2e
