#pragma once
// The real korvex.exe, started and ended the way a user would: with its command line, found
// by its window, ended with its Exit command.

#include "HelperProcess.h"

#include <windows.h>

#include <string>

namespace e2e {

// The window every other process uses to find Korvex: a top-level window titled "Korvex" with
// a direct child titled with the marker. NULL when there is none.
HWND FindKorvexMainWindow();
// How many windows meet that rule (one while one Korvex runs).
int CountKorvexMainWindows();

class CKorvexProcess {
public:
    CKorvexProcess() = default;
    ~CKorvexProcess();
    CKorvexProcess(const CKorvexProcess&) = delete;
    CKorvexProcess& operator=(const CKorvexProcess&) = delete;

    // Starts korvex.exe with the arguments and waits (bounded) until its main window exists and
    // its message loop runs. False when it did not get there; Failure() says why.
    bool Start(const std::wstring& strArguments = L"");
    // Starts korvex.exe and only waits for it to end (a second instance); its exit code or
    // STILL_ACTIVE when it did not end in time.
    static DWORD RunToEnd(const std::wstring& strArguments, DWORD nTimeoutMs);

    HWND MainWindow() const { return m_hMainWindow; }
    // The history list: the main window's list-view child.
    HWND ListWindow() const;
    bool IsRunning() const { return m_oProcess.IsRunning(); }
    bool WaitForExit(DWORD nTimeoutMs) const { return m_oProcess.WaitForExit(nTimeoutMs); }
    DWORD ExitCode() const { return m_oProcess.ExitCode(); }
    const std::wstring& ExecutablePath() const { return m_strPath; }
    const std::string& Failure() const { return m_strFailure; }

    // True when the main window's thread answers a message within nTimeoutMs.
    bool Responds(DWORD nTimeoutMs = 5000) const;
    bool IsMainWindowVisible() const;

    // Posts WM_COMMAND with the command to the main window and waits (bounded) for the process
    // to end. False when it did not end.
    bool ExitWith(UINT nCommand, DWORD nTimeoutMs = 15000);
    // Exits through the File menu's command; ends the process by force as a last resort.
    void Stop();

private:
    std::wstring m_strPath;
    CHelperProcess m_oProcess;
    HWND m_hMainWindow = nullptr;
    std::string m_strFailure;
};

} // namespace e2e
